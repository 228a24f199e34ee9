#include "platform/ToolkitLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

#include "text/FileUtils.h"

namespace {

// The translation in use; none before the first switch or when the system has none.
std::unique_ptr<QTranslator>& Installed() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

void SetToolkitLanguage(WideStringView Code) {
    const bool german = Code == u"de";
    SetFileTypeNameLanguage(german ? u"de" : u"en");
    if (!QCoreApplication::instance()) return;
    auto translator = std::make_unique<QTranslator>();
    const bool loaded = translator->load(QLocale(german ? QLocale::German : QLocale::English),
                                         QStringLiteral("qtbase"), QStringLiteral("_"),
                                         QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (Installed()) QCoreApplication::removeTranslator(Installed().get());
    Installed().reset();
    // English is Qt's own language: an empty or missing English file leaves Qt's texts.
    if (loaded && QCoreApplication::installTranslator(translator.get()))
        Installed() = std::move(translator);
}
