#pragma once

#include <QDomElement>
#include <QString>

class QDomDocument;
class QDomNode;
class QXmlStreamWriter;

namespace guimisc::xml {

/// Reading XML files into a DOM and typed attributes of elements.
///
/// Attribute texts: integers in decimal; doubles in the C locale as the shortest text that
/// reads back to the same value (so 0.1 is "0.1" and every finite double survives a round
/// trip bit for bit); booleans as "true" and "false", where "1" and "0" are read as well.
/// A missing attribute, or one whose text does not parse ("yes", "1,5", "12abc"), gives the
/// default. Leading and trailing blanks are ignored when reading.
///
/// The writers add an attribute to the element that `writer` has open (call them right
/// after `writeStartElement`).
class XmlSupport {
public:
    XmlSupport() = delete;

    /// Elements nested deeper than this are refused by `loadDom`; no file of the program
    /// comes near it.
    static constexpr int maxDepth = 256;

    /// Parses the file at `path` into `document`. Throws `guimisc::ErrorMessage` whose text
    /// names the file when it is missing or unreadable, and the line and column as well
    /// when it is not well-formed XML or nests elements deeper than `maxDepth` (checked
    /// before any DOM is built); `document` is then left empty. Reads the file into memory
    /// once; a scan of its bytes settles the nesting of the usual file, a stream reader's
    /// pass that of one the scan cannot settle (a document type, say, or a deep one). The
    /// tree of a large file is built on a helper thread while the caller waits: give it to
    /// `discardDom` when done with it.
    static void loadDom(const QString& path, QDomDocument* document);
    /// Starts reading and parsing the file at `path` on the helper thread, for a `loadDom`
    /// of the same path to come; the caller goes on meanwhile (while the rest of an archive
    /// unpacks, say). The file is opened without following a link. `loadDom` takes the
    /// result, waiting for it if need be, only when the file is still the one that was read
    /// (the same inode, size and modification time) and parsed, and reads it anew
    /// otherwise, with its own messages. One prefetch at a time: a new one, or
    /// `discardPrefetchedDom`, drops the earlier one. Call both, and `loadDom`, from one
    /// thread (the GUI's).
    static void prefetchDom(const QString& path);
    /// Drops the prefetch that no `loadDom` took (an archive refused after it began).
    static void discardPrefetchedDom();
    /// Empties `document`, whose tree is freed on a helper thread: a tree that `loadDom`
    /// read from a large file (from 1 MiB on) was built there, in a heap of that thread's
    /// own, and is freed without the caller waiting for it or finding its heap fragmented
    /// afterwards. No other handle to a node of the tree may be left anywhere.
    static void discardDom(QDomDocument* document);
    /// Returns when every tree given to `discardDom` so far is freed (for tests).
    static void waitForDiscardedDoms();

    /// Whether the XML file at `path` holds an attribute whose value is longer than `limit`
    /// characters: a DOM of a document with an attribute of tens of megabytes takes
    /// gigabytes. A scan of the bytes for the longest run between two quotes of a kind
    /// settles a file without one (no value is longer than the run its quotes enclose);
    /// only a file it cannot settle (a long run, or entity declarations) is read with a
    /// stream reader. A file that cannot be read counts as holding none (`loadDom` says
    /// what is wrong with it). Cost: one read of the file, a second pass only when needed.
    static bool holdsAttributeLongerThan(const QString& path, int limit);

    /// The first child element of `parent` with the tag name `tag`, else a null element.
    static QDomElement getChildNode(const QDomNode& parent, const QString& tag);
    /// The first child element of `parent` with the tag name `tag` whose attribute
    /// `attribute` is exactly `value` (a missing attribute matches nothing), else a null
    /// element.
    static QDomElement getChildNodeWithAttribute(const QDomNode& parent, const QString& tag,
                                                 const QString& attribute,
                                                 const QString& value);

    /// The text of the attribute `name` of `element` into `*text`, with one look-up of the
    /// name (a project of 100,000 items asks for a million); false, and `*text` untouched,
    /// when the element has no such attribute.
    static bool getAttributeText(const QDomElement& element, const QString& name, QString* text);
    static int getIntAttribute(const QDomElement& element, const QString& name,
                               int defaultValue = 0);
    static double getDoubleAttribute(const QDomElement& element, const QString& name,
                                     double defaultValue = 0.0);
    static bool getBooleanAttribute(const QDomElement& element, const QString& name,
                                    bool defaultValue = false);
    /// As `getDoubleAttribute`, for a value that must be finite (a coordinate): an attribute
    /// whose text reads as NaN or infinite ("nan", "inf", "1e309") throws
    /// `guimisc::ErrorMessage` "Invalid coordinate: not a finite number: attribute <name> of
    /// element <tag> (line <n>)", as the binary readers refuse such a value. A missing
    /// attribute, or one that is no number at all, still gives the default.
    static double getFiniteDoubleAttribute(const QDomElement& element, const QString& name,
                                           double defaultValue = 0.0);

    static void setIntAttribute(QXmlStreamWriter* writer, const QString& name, int value);
    static void setDoubleAttribute(QXmlStreamWriter* writer, const QString& name, double value);
    static void setBooleanAttribute(QXmlStreamWriter* writer, const QString& name, bool value);
};

} // namespace guimisc::xml
