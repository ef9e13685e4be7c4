#include "guimisc/xml/XmlSupport.h"

#include "AttributeText.h"
#include "guimisc/ErrorMessage.h"

#include <QCoreApplication>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace guimisc::xml {

namespace {

// The attribute read with `parse`, or the default when it is missing or does not parse.
template <typename T>
T attributeOr(const QDomElement& element, const QString& name, T defaultValue,
              bool (*parse)(const QString&, T*))
{
    T value = defaultValue;
    if (element.hasAttribute(name)) {
        parse(element.attribute(name), &value);
    }
    return value;
}

// Where the document first nests elements deeper than `maxDepth`, or -1 for the line when
// it does not. The DOM builder recurses once per level and overflows the stack on a
// document of a few tens of thousands of levels; this pass does not recurse. A document
// that is not well-formed stops the pass early and is left to the DOM's own report.
void findTooDeep(const QByteArray& content, int maxDepth, qint64* line, qint64* column)
{
    *line = -1;
    *column = -1;
    QXmlStreamReader reader(content);
    int depth = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement && ++depth > maxDepth) {
            *line = reader.lineNumber();
            *column = reader.columnNumber();
            return;
        }
        if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
}

} // namespace

void XmlSupport::loadDom(const QString& path, QDomDocument* document)
{
    *document = QDomDocument();
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.exists()) {
        throw ErrorMessage(QCoreApplication::translate("guimisc::xml::XmlSupport",
                                                       "File %1 does not exist.")
                               .arg(shown));
    }
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        throw ErrorMessage(QCoreApplication::translate("guimisc::xml::XmlSupport",
                                                       "File %1 could not be opened.")
                               .arg(shown));
    }
    const QByteArray content = file.readAll();
    qint64 deepLine = 0;
    qint64 deepColumn = 0;
    findTooDeep(content, maxDepth, &deepLine, &deepColumn);
    if (deepLine >= 0) {
        throw ErrorMessage(QCoreApplication::translate(
                               "guimisc::xml::XmlSupport",
                               "File %1 nests elements deeper than %2 levels (line %3, column %4).")
                               .arg(shown)
                               .arg(maxDepth)
                               .arg(deepLine)
                               .arg(deepColumn));
    }
    QString message;
    int line = 0;
    int column = 0;
    QDomDocument parsed;
    if (!parsed.setContent(content, &message, &line, &column)) {
        throw ErrorMessage(QCoreApplication::translate(
                               "guimisc::xml::XmlSupport",
                               "File %1 is not well-formed XML: %2 (line %3, column %4).")
                               .arg(shown, message)
                               .arg(line)
                               .arg(column));
    }
    *document = parsed;
}

bool XmlSupport::holdsAttributeLongerThan(const QString& path, int limit)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray content = file.readAll();
    const auto longestRun = [&content](char quote) {
        qint64 longest = 0;
        const char* const begin = content.constData();
        const char* const end = begin + content.size();
        const char* previous = nullptr;
        for (const char* at = begin; at < end;) {
            const auto found = static_cast<const char*>(std::memchr(at, quote, std::size_t(end - at)));
            if (!found) {
                break;
            }
            if (previous) {
                longest = std::max<qint64>(longest, found - previous - 1);
            }
            previous = found;
            at = found + 1;
        }
        return longest;
    };
    // A value of n characters takes at least n bytes between its quotes; only a declared
    // entity could make it longer than the text it stands in.
    if (longestRun('"') <= limit && longestRun('\'') <= limit
        && !content.contains("<!ENTITY")) {
        return false;
    }
    QXmlStreamReader reader(content);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        for (const QXmlStreamAttribute& attribute : reader.attributes()) {
            if (attribute.value().size() > limit) {
                return true;
            }
        }
    }
    return false;
}

QDomElement XmlSupport::getChildNode(const QDomNode& parent, const QString& tag)
{
    return parent.firstChildElement(tag);
}

QDomElement XmlSupport::getChildNodeWithAttribute(const QDomNode& parent, const QString& tag,
                                                  const QString& attribute, const QString& value)
{
    for (QDomElement child = parent.firstChildElement(tag); !child.isNull();
         child = child.nextSiblingElement(tag)) {
        if (child.hasAttribute(attribute) && child.attribute(attribute) == value) {
            return child;
        }
    }
    return QDomElement();
}

int XmlSupport::getIntAttribute(const QDomElement& element, const QString& name,
                                int defaultValue)
{
    return attributeOr(element, name, defaultValue, &detail::textToInt);
}

double XmlSupport::getDoubleAttribute(const QDomElement& element, const QString& name,
                                      double defaultValue)
{
    return attributeOr(element, name, defaultValue, &detail::textToDouble);
}

bool XmlSupport::getBooleanAttribute(const QDomElement& element, const QString& name,
                                     bool defaultValue)
{
    return attributeOr(element, name, defaultValue, &detail::textToBoolean);
}

double XmlSupport::getFiniteDoubleAttribute(const QDomElement& element, const QString& name,
                                            double defaultValue)
{
    if (!element.hasAttribute(name)) {
        return defaultValue;
    }
    bool ok = false;
    // An overflow ("1e309") fails to parse but reads as infinite: refused as well.
    const double value = element.attribute(name).trimmed().toDouble(&ok);
    if (!std::isfinite(value)) {
        throw ErrorMessage(QCoreApplication::translate(
                               "guimisc::xml::XmlSupport",
                               "Invalid coordinate: not a finite number: attribute %1 of element "
                               "%2 (line %3)")
                               .arg(name, element.tagName())
                               .arg(element.lineNumber()));
    }
    return ok ? value : defaultValue;
}

void XmlSupport::setIntAttribute(QXmlStreamWriter* writer, const QString& name, int value)
{
    writer->writeAttribute(name, QString::number(value));
}

void XmlSupport::setDoubleAttribute(QXmlStreamWriter* writer, const QString& name, double value)
{
    writer->writeAttribute(name, detail::doubleToText(value));
}

void XmlSupport::setBooleanAttribute(QXmlStreamWriter* writer, const QString& name, bool value)
{
    writer->writeAttribute(name, detail::booleanToText(value));
}

} // namespace guimisc::xml
