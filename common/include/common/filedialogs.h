// The Open and Save dialogs, and the filter lists they show.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Turns a filter of labels and patterns separated by "|" ("*.*|*.txt") into the dialog's
// name filters: pairs of label and pattern, a label with no pattern after it filtering by
// itself. A pattern "*.*" means every file, also one without a dot.
QStringList BuildFilterList(const QString& filter);

// The chosen full path, or an empty string when the user cancelled.
QString ShowOpenDialog(QWidget* owner, const QString& filter, const QString& title,
                       const QString& initialFolder);
QString ShowSaveDialog(QWidget* owner, const QString& filter, const QString& title,
                       const QString& initialFolder);
