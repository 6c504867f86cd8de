// The thirteen template slots of the popup menu, as the engine sees them.
#pragma once

#include <QAction>
#include <QCoreApplication>
#include <array>
#include <optional>

#include "common/textconv.h"
#include "template/tmpeng.h"

inline constexpr int kTemplateSlots = 13;
// The caption of an empty slot.
inline QString NotSet() {
  return QCoreApplication::translate("frmMain", "Not Set");
}

// A slot's caption as the engine set it, the template's name as stored (the menu shows an
// '&' doubled and a tab as a space); "Not Set" on an empty slot.
QString SlotCaption(const QAction* slot);
// Whether the engine filled the slot with a template, whatever its name.
bool SlotFilled(const QAction* slot);
// Makes the slot an empty one: "Not Set", no template.
void ClearSlot(QAction* slot);

// A slot's value (the text it inserts) is kept with its action as the action's data.
QString SlotTag(const QAction* slot);
void SetSlotTag(QAction* slot, const QString& tag);

// Lets the engine set the caption and the tag of slot n (1 to 13).
class MenuSlotsAdapter : public templates::MenuSlots {
 public:
  explicit MenuSlotsAdapter(const std::array<QAction*, kTemplateSlots>& items);
  void SetCaption(int n, const std::u16string& caption) override;
  void SetTag(int n, const std::u16string& tag) override;

 private:
  QAction* at(int n) const;
  std::array<QAction*, kTemplateSlots> slots_;
};

// Slot captions and tags kept aside, to be put on the menu once the whole fill succeeded.
class SlotValues : public templates::MenuSlots {
 public:
  void SetCaption(int n, const std::u16string& caption) override;
  void SetTag(int n, const std::u16string& tag) override;
  // Sets what was filled on `target`, slot by slot.
  void copyTo(templates::MenuSlots& target) const;

 private:
  std::array<std::optional<std::u16string>, kTemplateSlots> captions_;
  std::array<std::optional<std::u16string>, kTemplateSlots> tags_;
};
