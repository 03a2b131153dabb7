#include "platform/QtJapaneseTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>

std::unique_ptr<QTranslator> loadQtTextsInJapanese() {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    QCoreApplication::installTranslator(translator.get());
    return translator;
}
