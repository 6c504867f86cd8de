// The catalogues against the code: lupdate run on copies of them finds every text of the
// code translated and none left over, and every translation keeps its source's placeholders.
#include <QDir>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

struct Message {
  QString source;
  QString state;  // the translation's type: empty when finished
  QStringList forms;
  bool numerus = false;
};

QList<Message> ReadCatalogue(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QXmlStreamReader xml(&file);
  QList<Message> messages;
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement()) continue;
    if (xml.name() == QLatin1String("message")) {
      messages.append(Message());
      messages.last().numerus =
          xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
    } else if (xml.name() == QLatin1String("source")) {
      messages.last().source = xml.readElementText(QXmlStreamReader::IncludeChildElements);
    } else if (xml.name() == QLatin1String("translation")) {
      messages.last().state = xml.attributes().value(QLatin1String("type")).toString();
      if (!messages.last().numerus)
        messages.last().forms << xml.readElementText(QXmlStreamReader::IncludeChildElements);
    } else if (xml.name() == QLatin1String("numerusform")) {
      messages.last().forms << xml.readElementText();
    }
  }
  // A catalogue that cannot be read whole is reported as one that holds nothing.
  return xml.hasError() ? QList<Message>() : messages;
}

// The %1 to %9 a text holds, in order of number; %n where `count` is set.
QStringList Placeholders(const QString& text, bool count) {
  static const QRegularExpression marker(QStringLiteral("%([1-9]|n)"));
  QStringList found;
  for (const auto& match : marker.globalMatch(text))
    if (count || match.captured(1) != QLatin1String("n")) found << match.captured();
  found.sort();
  return found;
}

// An access key the translation brings where the source has none ("&Datei").
bool AddsAccessKey(const QString& source, const QString& translation) {
  static const QRegularExpression key(QStringLiteral("&[^&\\s]"));
  return !source.contains(key) && translation.contains(key);
}

}  // namespace

class CataloguesTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void catalogueMatchesTheCode_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("pluralOnly");
    // Every catalogue of the folder, a language added later included; the English one holds
    // only the plural forms.
    const QStringList names =
        QDir(QStringLiteral(CATALOGUES)).entryList({QStringLiteral("quorpad_*.ts")}, QDir::Files);
    QVERIFY(names.contains(QStringLiteral("quorpad_en.ts")) && names.size() > 1);
    for (const QString& name : names)
      QTest::newRow(qPrintable(name)) << name << (name == QLatin1String("quorpad_en.ts"));
  }

  void catalogueMatchesTheCode() {
    QFETCH(QString, name);
    QFETCH(bool, pluralOnly);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString copy = dir.filePath(name);
    QVERIFY(QFile::copy(QStringLiteral(CATALOGUES "/") + name, copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);

    // lupdate marks what the code no longer has as vanished and adds what the catalogue
    // lacks as unfinished.
    QStringList arguments{QStringLiteral("-locations"),   QStringLiteral("none"),
                          QStringLiteral("-no-ui-lines"), QStringLiteral("@" SOURCES_LIST),
                          QStringLiteral("-ts"),          copy};
    if (pluralOnly) arguments.prepend(QStringLiteral("-pluralonly"));
    QFile includes(QStringLiteral(INCLUDES_LIST));
    QVERIFY(includes.open(QIODevice::ReadOnly));
    for (const QByteArray& folder : includes.readAll().split('\n'))
      if (!folder.isEmpty()) arguments << QStringLiteral("-I") << QString::fromUtf8(folder);
    QProcess lupdate;
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    lupdate.start(QStringLiteral(LUPDATE), arguments);
    QVERIFY(lupdate.waitForFinished(240000));
    QVERIFY2(lupdate.exitCode() == 0, lupdate.readAll().constData());

    QStringList unfinished, leftOver, placeholders, accessKeys;
    const QList<Message> messages = ReadCatalogue(copy);
    QVERIFY(!messages.isEmpty());
    for (const Message& m : messages) {
      if (m.state == QLatin1String("vanished") || m.state == QLatin1String("obsolete")) {
        leftOver << m.source;
        continue;
      }
      if (!m.state.isEmpty() || m.forms.isEmpty() || m.forms.contains(QString())) {
        unfinished << m.source;
        continue;
      }
      for (const QString& form : m.forms) {
        // A plural form may spell its number out ("1 match"); the last one holds it.
        const bool count = !m.numerus || &form == &m.forms.last();
        if (Placeholders(form, count) != Placeholders(m.source, count))
          placeholders << m.source + QStringLiteral("  ->  ") + form;
        if (AddsAccessKey(m.source, form)) accessKeys << form;
      }
    }
    QVERIFY2(unfinished.isEmpty(),
             qPrintable(QStringLiteral("%1 untranslated:\n").arg(unfinished.size()) +
                        unfinished.join(QLatin1Char('\n'))));
    QVERIFY2(leftOver.isEmpty(),
             qPrintable(QStringLiteral("%1 no longer in the code:\n").arg(leftOver.size()) +
                        leftOver.join(QLatin1Char('\n'))));
    QVERIFY2(placeholders.isEmpty(), qPrintable(QStringLiteral("placeholders differ:\n") +
                                                placeholders.join(QLatin1Char('\n'))));
    QVERIFY2(accessKeys.isEmpty(), qPrintable(QStringLiteral("access keys added:\n") +
                                              accessKeys.join(QLatin1Char('\n'))));
  }
};

QTEST_GUILESS_MAIN(CataloguesTest)
#include "catalogues_test.moc"
