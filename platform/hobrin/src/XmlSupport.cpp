#include "guimisc/xml/XmlSupport.h"

#include "AttributeText.h"
#include "DomThread.h"
#include "guimisc/ErrorMessage.h"
#include "guimisc/FileState.h"

#include <QCoreApplication>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace guimisc::xml {

namespace {

// From this size on, a document's tree is built and freed on the DOM thread.
const int LARGE_DOCUMENT_BYTES = 1 << 20;

// The attribute read with `parse`, or the default when it is missing or does not parse.
template <typename T>
T attributeOr(const QDomElement& element, const QString& name, T defaultValue,
              bool (*parse)(const QString&, T*))
{
    T value = defaultValue;
    QString text;
    if (XmlSupport::getAttributeText(element, name, &text)) {
        parse(text, &value);
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

// Whether a scan of the bytes shows that no element nests deeper than `maxDepth`: the
// markup is skipped by its delimiters (comments, processing instructions, CDATA, quoted
// attribute values) and every other `<` opens or closes an element. Anything the scan
// does not know for certain (a document type, which may declare entities, an unterminated
// construct, an end tag without its start) answers false and is left to `findTooDeep`,
// which also says where a deep document passes the bound. A fast path for the usual file:
// a stream reader's pass costs about a third of building the DOM.
bool nestsWithin(const QByteArray& content, int maxDepth)
{
    const char* at = content.constData();
    const char* const end = at + content.size();
    const auto skipPast = [&at, end](const char* close, std::size_t length) {
        for (;;) {
            const auto found =
                static_cast<const char*>(std::memchr(at, close[0], std::size_t(end - at)));
            if (!found || std::size_t(end - found) < length) {
                return false;
            }
            if (std::memcmp(found, close, length) == 0) {
                at = found + length;
                return true;
            }
            at = found + 1;
        }
    };
    const auto startsWith = [&at, end](const char* text, std::size_t length) {
        return std::size_t(end - at) >= length && std::memcmp(at, text, length) == 0;
    };
    int depth = 0;
    for (;;) {
        const auto open = static_cast<const char*>(std::memchr(at, '<', std::size_t(end - at)));
        if (!open) {
            return true;
        }
        at = open + 1;
        if (at == end) {
            return false;
        }
        if (*at == '/') {
            if (--depth < 0) {
                return false;
            }
            if (!skipPast(">", 1)) {
                return false;
            }
            continue;
        }
        if (*at == '?') {
            if (!skipPast("?>", 2)) {
                return false;
            }
            continue;
        }
        if (*at == '!') {
            if (startsWith("!--", 3)) {
                at += 3;
                if (!skipPast("-->", 3)) {
                    return false;
                }
                continue;
            }
            if (startsWith("![CDATA[", 8)) {
                at += 8;
                if (!skipPast("]]>", 3)) {
                    return false;
                }
                continue;
            }
            return false; // a document type or something odd
        }
        // A start tag: up to its `>`, which a quoted value may hold as well.
        bool closed = false;
        while (at < end && !closed) {
            const char c = *at++;
            if (c == '"' || c == '\'') {
                const auto quote =
                    static_cast<const char*>(std::memchr(at, c, std::size_t(end - at)));
                if (!quote) {
                    return false;
                }
                at = quote + 1;
            } else if (c == '<') {
                return false;
            } else if (c == '>') {
                closed = true;
                // An empty element ("/>") is one level deeper as well, but nothing inside.
                const bool empty = at - 2 > open && at[-2] == '/';
                if (depth + 1 > maxDepth) {
                    return false;
                }
                if (!empty) {
                    ++depth;
                }
            }
        }
        if (!closed) {
            return false;
        }
    }
}

// The tree of `content`, the bytes of the file shown as `shown`; throws the messages of
// `loadDom`. A large tree is built on the DOM thread: handed to it, or built right here when
// the caller is that thread (`onDomThread`).
QDomDocument parseContent(const QByteArray& content, const QString& shown, bool onDomThread)
{
    qint64 deepLine = -1;
    qint64 deepColumn = -1;
    if (!nestsWithin(content, XmlSupport::maxDepth)) {
        findTooDeep(content, XmlSupport::maxDepth, &deepLine, &deepColumn);
    }
    if (deepLine >= 0) {
        throw ErrorMessage(QCoreApplication::translate(
                               "guimisc::xml::XmlSupport",
                               "File %1 nests elements deeper than %2 levels (line %3, column %4).")
                               .arg(shown)
                               .arg(XmlSupport::maxDepth)
                               .arg(deepLine)
                               .arg(deepColumn));
    }
    QString message;
    int line = 0;
    int column = 0;
    QDomDocument parsed;
    bool read = false;
    const auto parse = [&] {
        read = parsed.setContent(content, &message, &line, &column);
        if (!read) {
            parsed = QDomDocument(); // what it got to is freed where it was built
        }
    };
    if (content.size() >= LARGE_DOCUMENT_BYTES && !onDomThread) {
        DomThread::run(parse);
    } else {
        parse();
    }
    if (!read) {
        throw ErrorMessage(QCoreApplication::translate(
                               "guimisc::xml::XmlSupport",
                               "File %1 is not well-formed XML: %2 (line %3, column %4).")
                               .arg(shown, message)
                               .arg(line)
                               .arg(column));
    }
    return parsed;
}

// A file read and parsed ahead on the DOM thread (`prefetchDom`). The fields below the
// mutex are written there once, before `done`.
struct Prefetched {
    QString path;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool usable = false; // the file was there, a regular file, and was read
    FileState state;
    QDomDocument document; // null when the file does not parse
};

// The one prefetch, of the thread that calls `prefetchDom` and `loadDom`.
std::shared_ptr<Prefetched>& prefetched()
{
    static std::shared_ptr<Prefetched> current;
    return current;
}

// Drops `p` where its tree was built: after the prefetch task, which runs before this one.
void dropOnDomThread(std::shared_ptr<Prefetched> p)
{
    if (p) {
        DomThread::post([p = std::move(p)]() mutable { p.reset(); });
    }
}

// The bytes of the regular file at `path`, opened without following a link.
bool readPlainFile(const QString& path, QByteArray* content, struct stat* identity)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return false;
    }
    bool ok = ::fstat(fd, identity) == 0 && S_ISREG(identity->st_mode);
    if (ok) {
        QFile file;
        ok = file.open(fd, QIODevice::ReadOnly);
        if (ok) {
            *content = file.readAll();
            ok = file.error() == QFileDevice::NoError;
        }
    }
    ::close(fd);
    return ok;
}

} // namespace

void XmlSupport::prefetchDom(const QString& path)
{
    discardPrefetchedDom();
    auto p = std::make_shared<Prefetched>();
    p->path = QFileInfo(path).absoluteFilePath();
    prefetched() = p;
    DomThread::post([p] {
        QByteArray content;
        struct stat identity {};
        const bool usable = readPlainFile(p->path, &content, &identity);
        QDomDocument document;
        if (usable) {
            try {
                document = parseContent(content, QDir::toNativeSeparators(p->path), true);
            } catch (const ErrorMessage&) {
                // `loadDom` reads the file itself and says what is wrong with it.
            }
        }
        const std::lock_guard<std::mutex> lock(p->mutex);
        p->usable = usable && !document.isNull();
        p->state = FileState(identity);
        p->document = document;
        p->done = true;
        p->finished.notify_all();
    });
}

void XmlSupport::discardPrefetchedDom()
{
    dropOnDomThread(std::move(prefetched()));
    prefetched() = nullptr;
}

void XmlSupport::loadDom(const QString& path, QDomDocument* document)
{
    *document = QDomDocument();
    const QString shown = QDir::toNativeSeparators(path);
    if (prefetched() && prefetched()->path == QFileInfo(path).absoluteFilePath()) {
        std::shared_ptr<Prefetched> p = std::move(prefetched());
        prefetched() = nullptr;
        {
            std::unique_lock<std::mutex> lock(p->mutex);
            p->finished.wait(lock, [&p] { return p->done; });
        }
        const bool same = p->usable && FileState::of(p->path) == p->state;
        if (same) {
            *document = p->document;
            p->document = QDomDocument();
            dropOnDomThread(std::move(p));
            return;
        }
        dropOnDomThread(std::move(p)); // changed since, or broken: read anew
    }
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
    *document = parseContent(file.readAll(), shown, false);
}

void XmlSupport::discardDom(QDomDocument* document)
{
    QDomDocument held = *document;
    *document = QDomDocument();
    // The last handle goes with the task, on the helper thread; a small tree built here is
    // freed there as well, which costs nothing.
    DomThread::post([held]() mutable { held = QDomDocument(); });
}

void XmlSupport::waitForDiscardedDoms()
{
    DomThread::waitUntilIdle();
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
        QString text;
        if (getAttributeText(child, attribute, &text) && text == value) {
            return child;
        }
    }
    return QDomElement();
}

bool XmlSupport::getAttributeText(const QDomElement& element, const QString& name, QString* text)
{
    // A handle of the same node: Qt's look-up is not marked const.
    QDomElement node = element;
    const QDomAttr attribute = node.attributeNode(name);
    if (attribute.isNull()) {
        return false;
    }
    *text = attribute.value();
    return true;
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
    QString text;
    if (!getAttributeText(element, name, &text)) {
        return defaultValue;
    }
    bool ok = false;
    // An overflow ("1e309") fails to parse but reads as infinite: refused as well.
    const double value = text.trimmed().toDouble(&ok);
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
