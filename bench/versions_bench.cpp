// What keeping a version of the store costs the manager's Add at 100,000 templates: the
// engine's Add alone beside the same Add after the store is kept as a version, each the
// median of a few runs in the same process. Prints both times and their ratio.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "manager/storeversions.h"
#include "median.h"
#include "template/tmpeng.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTemporaryDir folder;
  QTemporaryDir state;
  qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
  const QString store = QDir(folder.path()).filePath(QStringLiteral("templates.dat"));
  constexpr int kTemplates = 100000;
  {
    QFile out(store);
    if (!out.open(QIODevice::WriteOnly)) return 1;
    for (int i = 0; i < kTemplates; ++i)
      out.write(QStringLiteral("1\x04Template %1\x04The text of template %1, a line of about "
                               "a hundred characters as people keep them.\r\n")
                    .arg(i)
                    .toUtf8());
  }
  templates::tmpeng engine{std::filesystem::path(QFile::encodeName(folder.path()).toStdString())};
  const double plain = MedianMs(7, [&](int i) {
    engine.Template_AddB(u"plain " + std::u16string(1, char16_t(u'a' + i)), u"value");
  });
  const double kept = MedianMs(7, [&](int i) {
    KeepStoreVersion(store);
    engine.Template_AddB(u"kept " + std::u16string(1, char16_t(u'a' + i)), u"value");
  });
  std::printf(
      "Add at %d templates (%.1f MB): %.1f ms alone, %.1f ms keeping a version first, "
      "ratio %.2f\n",
      kTemplates, QFileInfo(store).size() / 1048576.0, plain, kept, kept / plain);
  return 0;
}
