// The language of what Qt draws on its own: the buttons of its message boxes, its file, font and
// input dialogs. The program speaks Italian whatever the desktop's language; never changes how
// numbers are read or written.
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>

#include "qt/qt_front_end.h"

namespace tolvane::qt {

void useProgramLanguage() {
    // Qt takes the desktop's locale; numbers in files, INI and SQL must keep the C rules.
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    const QString name = QStringLiteral("tolvane_qtbase");
    if (app->findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly)) return;
    const QLocale italiano(QLocale::Italian, QLocale::Italy);
    QLocale::setDefault(italiano);
    auto* translator = new QTranslator(app);
    translator->setObjectName(name);
    if (translator->load(italiano, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

}  // namespace tolvane::qt
