#pragma once

#include <QTranslator>
#include <memory>

// Qt's own texts (the file chooser's buttons, a message box's button, a text box's menu) in
// Japanese whatever the locale, as every other text of the clock. Call once the application
// exists and keep the result while it runs. Nothing when Qt's translations are not installed:
// those texts then stay in English.
std::unique_ptr<QTranslator> loadQtTextsInJapanese();
