#include "app/display_language.h"

#include "platform/user_text.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace quvan::app {
namespace {

QPointer<QTranslator> toolTranslator;
QPointer<QTranslator> toolkitTranslator;

void Remove(QPointer<QTranslator>& translator) {
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

// Loads `file` from `folder` into a new translator owned by the application
// and installs it; nothing when the file is missing.
QPointer<QTranslator> Load(QCoreApplication& application, const QString& file,
                           const QString& folder) {
    auto* translator = new QTranslator(&application);
    if (!translator->load(file, folder)) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

} // namespace

std::optional<UiLanguage> ParseUiLanguage(const QString& code) {
    const QString trimmed = code.trimmed().toLower();
    if (trimmed == QLatin1String("ja"))
        return UiLanguage::Japanese;
    if (trimmed == QLatin1String("en"))
        return UiLanguage::English;
    return std::nullopt;
}

QString CodeOf(UiLanguage language) {
    return language == UiLanguage::English ? QStringLiteral("en") : QStringLiteral("ja");
}

void InstallUiLanguage(QCoreApplication& application, UiLanguage language) {
    Remove(toolTranslator);
    Remove(toolkitTranslator);
    if (language == UiLanguage::English) {
        toolTranslator = Load(application, QStringLiteral("quvan_en"), QStringLiteral(":/i18n"));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    } else {
        // The texts are written in Japanese: nothing to load for the tool,
        // only for the toolkit, whose own texts are English.
        toolkitTranslator = Load(application, QStringLiteral("qtbase_ja"),
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    }
    user_text::SetTranslator([](const char* context, const char* source) {
        return QCoreApplication::translate(context, source).toStdString();
    });
}

} // namespace quvan::app
