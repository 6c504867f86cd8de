// The engine's view of the template slots.
#include "editor/menuslots.h"

#include <stdexcept>

#include "common/templatelist.h"

namespace {

// The name of the template a slot holds, as stored; none on an empty slot.
const char* const kTemplateName = "quorpad_template_name";

}  // namespace

QString SlotCaption(const QAction* slot) {
  const QVariant name = slot->property(kTemplateName);
  return name.isValid() ? name.toString()
                        : slot->text().replace(QLatin1String("&&"), QLatin1String("&"));
}

bool SlotFilled(const QAction* slot) {
  return slot->property(kTemplateName).isValid();
}

void ClearSlot(QAction* slot) {
  slot->setText(NotSet());
  slot->setData(QString());
  slot->setProperty(kTemplateName, QVariant());
}

QString SlotTag(const QAction* slot) {
  return slot->data().toString();
}
void SetSlotTag(QAction* slot, const QString& tag) {
  slot->setData(tag);
}

MenuSlotsAdapter::MenuSlotsAdapter(const std::array<QAction*, kTemplateSlots>& items)
    : slots_(items) {}

QAction* MenuSlotsAdapter::at(int n) const {
  if (n < 1 || n > kTemplateSlots) throw std::out_of_range("no template slot " + std::to_string(n));
  return slots_[static_cast<std::size_t>(n - 1)];
}

void MenuSlotsAdapter::SetCaption(int n, const std::u16string& caption) {
  // A menu would read a single '&' as the mark of an access key and a tab as the start of
  // the shortcut column; a template's name is shown as names are shown in sentences: on one
  // line (a tab as a space, a line break, which the caption holds as stored, as one
  // symbol), and cut short where it would stretch the popup.
  QString name = FromU16(caption);
  name.replace(QLatin1Char('\x02'), QLatin1Char('\r'))
      .replace(QLatin1Char('\x03'), QLatin1Char('\n'));
  at(n)->setText(ShownName(name).replace(QLatin1Char('&'), QLatin1String("&&")));
  at(n)->setProperty(kTemplateName, FromU16(caption));
}

void MenuSlotsAdapter::SetTag(int n, const std::u16string& tag) {
  SetSlotTag(at(n), FromU16(tag));
}

namespace {

std::optional<std::u16string>& SlotAt(std::array<std::optional<std::u16string>, kTemplateSlots>& a,
                                      int n) {
  if (n < 1 || n > kTemplateSlots) throw std::out_of_range("no template slot " + std::to_string(n));
  return a[static_cast<std::size_t>(n - 1)];
}

}  // namespace

void SlotValues::SetCaption(int n, const std::u16string& caption) {
  SlotAt(captions_, n) = caption;
}
void SlotValues::SetTag(int n, const std::u16string& tag) {
  SlotAt(tags_, n) = tag;
}

void SlotValues::copyTo(templates::MenuSlots& target) const {
  for (int n = 1; n <= kTemplateSlots; ++n) {
    const auto i = static_cast<std::size_t>(n - 1);
    if (captions_[i]) target.SetCaption(n, *captions_[i]);
    if (tags_[i]) target.SetTag(n, *tags_[i]);
  }
}
