#include "platform/framework/Translate.h"

#include <cstdarg>
#include <memory>

#include <QCoreApplication>
#include <QTranslator>

namespace framework {

namespace {

struct Installed {
    QString language = QString::fromLatin1(kSourceLanguage);
    std::unique_ptr<QTranslator> translator;
};

Installed& Current() {
    static Installed installed;
    return installed;
}

} // namespace

QString Tr(const char* sourceText) {
    return QCoreApplication::translate(kTextContext, sourceText);
}

QString TrFormat(const char* format, ...) {
    const QByteArray translated = Tr(format).toUtf8();
    va_list arguments;
    va_start(arguments, format);
    QString text = QString::vasprintf(translated.constData(), arguments);
    va_end(arguments);
    return text;
}

bool SetTextLanguage(const QString& language) {
    Installed& current = Current();
    std::unique_ptr<QTranslator> translator;
    if (language != QLatin1String(kSourceLanguage)) {
        translator = std::make_unique<QTranslator>();
        if (!translator->load(QStringLiteral(":/i18n/pavrix_%1.qm").arg(language))) {
            return false;
        }
    }
    if (current.translator) {
        QCoreApplication::removeTranslator(current.translator.get());
    }
    current.translator = std::move(translator);
    if (current.translator) {
        QCoreApplication::installTranslator(current.translator.get());
    }
    current.language = language;
    return true;
}

QString TextLanguage() {
    return Current().language;
}

} // namespace framework
