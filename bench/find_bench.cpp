// Find All and Replace All in documents of 10 and 50 MB, each beside a baseline measured in
// the same run (a plain QString::indexOf loop over the same text, and QString::replace of
// the same word), then the longest time the window stands still while the Find bar counts
// the matches in the 50 MB document, Find Previous at the end of 50 MB, and Replace All of
// some eight million matches in 100 MB through the bar. Prints the times and their ratios.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "common/longjob.h"
#include "editor/findbar.h"
#include "median.h"
#include "stallmeter.h"

namespace {

// Lines of prose with the word "needle" now and then, about `megabytes` MB.
QString Document(int megabytes) {
  const QString line = QStringLiteral(
      "The quick brown fox jumps over the lazy dog while the needle waits in the hay.\n"
      "Nothing to see on this line but words, commas, and a full stop at the end.\n");
  QString text;
  const qsizetype size = qsizetype(megabytes) << 20;
  text.reserve(size + line.size());
  while (text.size() < size) text += line;
  return text;
}

void Compare(const char* what, int megabytes, double ours, double baseline) {
  std::printf("%-12s %3d MB: %8.1f ms, baseline %8.1f ms, ratio %.2f\n", what, megabytes, ours,
              baseline, ours / baseline);
}

// A shown window with a document of `text` and its Find bar.
struct BarOnDocument {
  explicit BarOnDocument(const QString& text)
      : document(new QPlainTextEdit(&host)), bar(document, &host) {
    document->setPlainText(text);
    host.resize(800, 600);
    host.show();
    QApplication::processEvents();
  }
  QWidget host;
  QPlainTextEdit* document;
  FindBar bar;
};

// The longest time the event loop stood still from the Find bar's opening with a word
// until its count was shown.
double LongestStallWhileCounting(int megabytes) {
  BarOnDocument shown(Document(megabytes));
  QPlainTextEdit* document = shown.document;
  FindBar& bar = shown.bar;
  StallMeter stalls;
  // The first "needle" selected: Ctrl+F takes it as the text to find, and counts.
  QTextCursor first = document->document()->find(QStringLiteral("needle"));
  document->setTextCursor(first);
  QTimer::singleShot(0, [&] { bar.open(false); });
  QElapsedTimer bound;
  bound.start();
  QApplication::processEvents();
  while ((bar.counting() || !bar.statusText().contains(QStringLiteral("match"))) &&
         bound.elapsed() < 60000)
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  return stalls.longestMs();
}

// Find Previous of every character (a regular expression ".") with the caret at the end of
// a `megabytes` MB document: the time the window waits for it (goal under 100 ms).
void FindPreviousAtTheEnd(int megabytes) {
  QWidget host;
  auto* document = new QPlainTextEdit(&host);
  const QString text = Document(megabytes);
  document->setPlainText(text);
  FindBar bar(document, &host);
  bar.findChild<QLineEdit*>(QStringLiteral("txtFind"))->setText(QStringLiteral("."));
  bar.findChild<QCheckBox*>(QStringLiteral("chkRegex"))->setChecked(true);
  bar.findNext();  // the document's text taken once, as the bar keeps it while it is unchanged
  const double previous = MedianMs(5, [&](int) {
    document->moveCursor(QTextCursor::End);
    bar.findPrevious();
  });
  const qsizetype at = text.size() - 2;  // the full stop before the last line's break
  if (document->textCursor().selectionStart() != at)
    std::printf("found at %d, not %lld\n", document->textCursor().selectionStart(), qlonglong(at));
  std::printf("Find Previous %3d MB: %8.1f ms at the end (goal under 100 ms)\n", megabytes,
              previous);
}

// Replace All of every "e" by "E" through the Find bar in a `megabytes` MB document (some
// eight million matches at 100 MB): the whole time until the document holds the replaced
// text, and the longest time the window stood still meanwhile (the search runs beside the
// window, the text goes into the document in slices), beside QString::replace of the same
// text (goal: within 1.5 times that) and beside a text box taking the replaced text whole.
void ReplaceAllThroughTheBar(int megabytes) {
  const QString text = Document(megabytes);
  BarOnDocument shown(text);
  FindBar& bar = shown.bar;
  bar.open(true);
  QApplication::processEvents();
  bar.findChild<QCheckBox*>(QStringLiteral("chkCase"))->setChecked(true);
  bar.findChild<QLineEdit*>(QStringLiteral("txtFind"))->setText(QStringLiteral("e"));
  bar.findChild<QLineEdit*>(QStringLiteral("txtReplace"))->setText(QStringLiteral("E"));
  bar.waitForWork();
  StallMeter stalls;
  QElapsedTimer whole;
  whole.start();
  QTimer::singleShot(0, [&] { bar.replaceEvery(); });
  QApplication::processEvents();
  while (bar.replaceJob()->busy() && whole.elapsed() < 300000)
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  const double ours = double(whole.elapsed());
  const double stood = stalls.longestMs();
  QElapsedTimer plain;
  plain.start();
  QString copy = text;
  copy.replace(QLatin1Char('e'), QLatin1Char('E'));
  const double baseline = double(plain.elapsed());
  // What a text document takes to hold the replaced text at all.
  QPlainTextEdit floor;
  QElapsedTimer held;
  held.start();
  floor.setPlainText(copy);
  const double documentFloor = double(held.elapsed());
  std::printf(
      "Replace All %3d MB through the bar (%lld matches): %.0f ms, baseline QString::replace "
      "%.0f ms, ratio %.2f (goal 1.5); setPlainText of the result %.0f ms, ratio %.2f; the "
      "window stood still at most %.0f ms (goal under 100 ms)\n",
      megabytes, qlonglong(bar.lastReplaced()), ours, baseline, ours / baseline, documentFloor,
      ours / documentFloor, stood);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString needle = QStringLiteral("needle");
  for (int megabytes : {10, 50}) {
    const QString text = Document(megabytes);
    const FindQuery query{needle, true, false, false};
    qsizetype found = 0;
    const double findAll = MedianMs(5, [&](int) { found = CountMatches(text, query); });
    qsizetype scanned = 0;
    const double scan = MedianMs(5, [&](int) {
      scanned = 0;
      for (qsizetype at = text.indexOf(needle); at >= 0; at = text.indexOf(needle, at + 1))
        ++scanned;
    });
    if (found != scanned)
      std::printf("counts differ: %lld and %lld\n", qlonglong(found), qlonglong(scanned));
    Compare("Find All", megabytes, findAll, scan);
    qsizetype replaced = 0;
    const double replaceAll =
        MedianMs(3, [&](int) { ReplaceAll(text, query, QStringLiteral("pin"), replaced); });
    const double plainReplace = MedianMs(3, [&](int) {
      QString copy = text;
      copy.replace(needle, QStringLiteral("pin"));
    });
    Compare("Replace All", megabytes, replaceAll, plainReplace);
  }
  FindPreviousAtTheEnd(50);
  ReplaceAllThroughTheBar(100);
  std::printf(
      "the window stood still at most %.0f ms while the Find bar counted the matches "
      "in 50 MB (goal under 100 ms)\n",
      LongestStallWhileCounting(50));
  return 0;
}
