#include "TranslationTable.h"

#include "TestSupport.h"

#include <QFile>
#include <QXmlStreamReader>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace
{

TTranslatedMessage ReadMessage(QXmlStreamReader& xml, const QString& context)
{
    TTranslatedMessage message;
    message.context = context;
    message.plural = xml.attributes().value(QLatin1String("numerus")) == u"yes";
    while (xml.readNextStartElement()) {
        if (xml.name() == u"source") {
            message.source = xml.readElementText();
        } else if (xml.name() == u"comment") {
            message.key = xml.readElementText();
        } else if (xml.name() == u"translation") {
            message.type = xml.attributes().value(QLatin1String("type")).toString();
            if (!message.plural) {
                message.translations << xml.readElementText();
                continue;
            }
            while (xml.readNextStartElement())
                message.translations << xml.readElementText();
        } else {
            xml.skipCurrentElement();
        }
    }
    return message;
}

} // namespace

QList<TTranslatedMessage> ReadTranslationTable(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(fileName.toStdString() + ": " + file.errorString().toStdString());
    QList<TTranslatedMessage> messages;
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name")
            context = xml.readElementText();
        else if (xml.name() == u"message")
            messages << ReadMessage(xml, context);
    }
    if (xml.hasError())
        throw std::runtime_error(fileName.toStdString() + ": " + xml.errorString().toStdString());
    return messages;
}

QString TranslationTablePath(const QString& language)
{
    return TestSupport::SourceDir() + u"/resources/translations/horavant_"_s + language + u".ts"_s;
}
