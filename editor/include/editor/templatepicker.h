// The template picker: a filter line over every template of the store, for the keyboard.
#pragma once

#include <QAbstractListModel>
#include <QFrame>
#include <QPointer>

#include "common/storewatch.h"
#include "common/templatelist.h"

class QLabel;
class QLineEdit;
class QListView;
class LongJob;
class QTimer;

// The rows of a TemplateList that the filter lets through, best first.
class TemplateListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  // The first line of the template's value, shown beside its name.
  static constexpr int kPreviewRole = Qt::UserRole + 1;
  // The template's value, whole.
  static constexpr int kValueRole = Qt::UserRole + 2;
  static constexpr int kNameRole = Qt::UserRole + 3;  // the whole name, as stored

  explicit TemplateListModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  // Takes a freshly loaded list and shows the rows that match `text`.
  void setList(std::unique_ptr<TemplateList> list, const QString& text);
  // Takes a list loaded and filtered elsewhere (lower-cased whole, `filter` applied to it);
  // returns the list it showed before, for the caller to free where it costs no time.
  std::unique_ptr<TemplateList> setFiltered(std::unique_ptr<TemplateList> list,
                                            TemplateFilter filter);
  // Shows the rows of the list that match `text`.
  void setFilter(const QString& text);
  const TemplateList& list() const { return *list_; }
  // Lower-cases the next `rows` rows of the list for filtering; false once all are.
  bool lowerMore(int rows);

 private:
  std::unique_ptr<TemplateList> list_ = std::make_unique<TemplateList>();
  TemplateFilter filter_;
};

// Opened over the document of the window that owns it and closed by Escape: a line edit
// that filters, as it is typed, the list of every template below it. Up and Down move in
// the list; Enter (or a double click) chooses the template, and the picker closes.
//
// The list is read through the engine at the first opening and again whenever the store
// has changed on disk since, so opening it again over an unchanged store costs nothing.
class TemplatePicker : public QFrame {
  Q_OBJECT

 public:
  // `anchor` is the widget the picker covers and gives the focus back to; `engine` reads
  // the store. Both must outlive the picker.
  TemplatePicker(QWidget* anchor, templates::tmpeng& engine, QWidget* parent);

  // Shows the picker with an empty filter, reading the store when it has changed.
  void open();
  // Hides the picker; the focus goes back to the anchor.
  void dismiss();
  // Reads the store again; an open picker keeps its filter text.
  void reload();
  // Reads the store again if the picker is open and the store has changed. The reading,
  // lower-casing and filtering happen on a thread of their own, so that a huge store never
  // stops the window; the list shown changes once the new one is ready.
  void reloadIfOpen();
  // Whether a reading started by reloadIfOpen() is still under way (for tests).
  bool reloading() const;
  // What the picker says instead of, or above, the list: why it is empty or the engine's
  // message. Empty when the list speaks for itself.
  QString statusText() const;

 Q_SIGNALS:
  // A template was chosen: its name, and `value` its text, line breaks as the engine
  // restored them.
  void chosen(const QString& name, const QString& value);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createControls();
  void refilter();
  void choose();
  void followAnchor();
  void showStatus();
  void stepBy(int rows);
  bool storeChangedSinceLoad() const;
  void reloadInBackground();

  QWidget* anchor_;
  templates::tmpeng& engine_;
  QLineEdit* txtFilter = nullptr;
  QListView* lstTemplates = nullptr;
  QLabel* lblStatus = nullptr;
  TemplateListModel* model_ = nullptr;
  QTimer* lowering_ = nullptr;  // lower-cases the list while the user has yet to type
  QString loadError_;           // the engine's message when the last load failed
  bool loaded_ = false;         // a load has succeeded; the store is known
  StoreStamp loadedFrom_;       // the store file as the last load found it
  LongJob* loader_ = nullptr;   // one background load at a time; a newer one overtakes
};
