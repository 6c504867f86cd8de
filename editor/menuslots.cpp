// The engine's view of the template slots.
#include "menuslots.h"

#include <stdexcept>

QString SlotCaption(const QAction* slot) {
  return slot->text().replace(QLatin1String("&&"), QLatin1String("&"));
}

QString SlotTag(const QAction* slot) {
  return slot->data().toString();
}
void SetSlotTag(QAction* slot, const QString& tag) {
  slot->setData(tag);
}

MenuSlotsAdapter::MenuSlotsAdapter(const std::array<QAction*, kTemplateSlots>& items)
    : slots_(items) {}

QAction* MenuSlotsAdapter::At(int n) const {
  if (n < 1 || n > kTemplateSlots) throw std::out_of_range("no template slot " + std::to_string(n));
  return slots_[static_cast<std::size_t>(n - 1)];
}

void MenuSlotsAdapter::SetCaption(int n, const std::u16string& caption) {
  // A menu would read a single '&' as the mark of an access key; a template's name is
  // shown as it is.
  At(n)->setText(FromU16(caption).replace(QLatin1Char('&'), QLatin1String("&&")));
}

void MenuSlotsAdapter::SetTag(int n, const std::u16string& tag) {
  SetSlotTag(At(n), FromU16(tag));
}

QString FromU16(const std::u16string& text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::u16string ToU16(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<std::size_t>(text.size()));
}
