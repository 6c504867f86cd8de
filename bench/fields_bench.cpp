// Filling the fields of a 200 KB template with 10,000 "{:" that open no field (format strings
// of the kind "{:.2f}"), and of one with 10,000 real fields, each beside a baseline in the
// same run: one QString::indexOf pass over the same text for every "{:". Prints the times and
// their ratios (goal: under 50 ms each).
#include <QCoreApplication>
#include <cstdio>

#include "common/templatefields.h"
#include "median.h"

namespace {

// `count` copies of `piece` padded with prose to about 200 KB, in lines.
QString Template(const QString& piece, int count) {
  QString text;
  const QString filler(20 - piece.size() % 20 + 1, QLatin1Char('x'));
  while (text.size() < 200 * 1024) {
    for (int i = 0; i < count / 10; ++i) text += piece + filler;
    text += QLatin1Char('\n');
  }
  // A closing marker at the very end, as a later field of the template would have.
  return text + QStringLiteral("{:caret:}");
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  FieldValues values;
  values.now = QDateTime::currentDateTime();
  values.selection = QStringLiteral("chosen");
  for (const auto& [what, piece] : {std::pair{"format strings", QStringLiteral("{:.2f}")},
                                    std::pair{"real fields", QStringLiteral("{:date:}")}}) {
    const QString text = Template(piece, 10000);
    qsizetype filled = 0;
    const double fill = MedianMs(5, [&](int) { filled = FillFields(text, values).text.size(); });
    qsizetype opens = 0;
    const double scan = MedianMs(5, [&](int) {
      opens = 0;
      for (qsizetype at = text.indexOf(QLatin1String("{:")); at >= 0;
           at = text.indexOf(QLatin1String("{:"), at + 2))
        ++opens;
    });
    std::printf("%-15s %lld KB, %lld markers: fill %8.2f ms, baseline %6.2f ms, ratio %.1f "
                "(goal under 50 ms)\n",
                what, qlonglong(text.size() / 1024), qlonglong(opens), fill, scan, fill / scan);
    if (filled == 0) std::printf("nothing filled\n");
  }
  return 0;
}
