// Typed attributes and containers: a save with QXmlStreamWriter read back through a DOM.
#include "TestSupport.h"
#include "guimisc/ErrorMessage.h"
#include "guimisc/xml/BoolContainer.h"
#include "guimisc/xml/ColorContainer.h"
#include "guimisc/xml/CompositeContainer.h"
#include "guimisc/xml/DoubleContainer.h"
#include "guimisc/xml/IntContainer.h"
#include "guimisc/xml/OpacityContainer.h"
#include "guimisc/xml/QPointFContainer.h"
#include "guimisc/xml/StringContainer.h"
#include "guimisc/xml/XmlSupport.h"

#include <QBuffer>
#include <QDomDocument>
#include <QTemporaryDir>
#include <QXmlStreamWriter>
#include <gtest/gtest.h>

#include <cstdio>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

using namespace guimisc::xml;

namespace {

// Writes <Item ...> with `write` filling in the attributes and parses it back.
QDomElement roundTrip(const std::function<void(QXmlStreamWriter*)>& write,
                      QByteArray* text = nullptr)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter writer(&buffer);
    writer.writeStartDocument("1.0");
    writer.writeStartElement("Item");
    write(&writer);
    writer.writeEndElement();
    writer.writeEndDocument();
    QDomDocument document;
    EXPECT_TRUE(document.setContent(buffer.data()));
    if (text != nullptr) {
        *text = buffer.data();
    }
    return document.documentElement();
}

QDomElement element(const QString& attributes)
{
    QDomDocument document;
    EXPECT_TRUE(document.setContent("<Item " + attributes + "/>"));
    return document.documentElement();
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct Setting : CompositeContainer {
    Setting() : CompositeContainer({&color, &radius, &byValue, &corner}) {}
    Setting(const Setting& other) : Setting() { copyValue(other); }
    Setting& operator=(const Setting& other)
    {
        copyValue(other);
        return *this;
    }
    ColorContainer color{"color", Qt::cyan};
    IntContainer radius{"radius", 2};
    BoolContainer byValue{"useColorByValue", true};
    QPointFContainer corner{"topLeft", QPointF(1, 2)};
};

} // namespace

TEST(XmlAttributes, DoublesSurviveBitForBit)
{
    const double values[] = {0.1, 1e-300, -123456.789012345, -0.0, 5e-324,
                             std::numeric_limits<double>::infinity()};
    for (double v : values) {
        SCOPED_TRACE(v);
        DoubleContainer saved("value", 7.0);
        saved = v;
        const QDomElement e = roundTrip([&](QXmlStreamWriter* w) { saved.save(w); });
        DoubleContainer loaded("value", 7.0);
        loaded.load(e);
        EXPECT_TRUE(sameBits(loaded, v));
    }
    const QDomElement e = roundTrip([](QXmlStreamWriter* w) { XmlSupport::setDoubleAttribute(w, "a", 0.1); });
    EXPECT_EQ(e.attribute("a"), "0.1"); // shortest form, not 0.10000000000000001
}

TEST(XmlAttributes, IntegersBooleansAndTheirDefaults)
{
    const QDomElement e = roundTrip([](QXmlStreamWriter* w) {
        XmlSupport::setIntAttribute(w, "min", std::numeric_limits<int>::min());
        XmlSupport::setBooleanAttribute(w, "no", false);
    });
    EXPECT_EQ(XmlSupport::getIntAttribute(e, "min", 5), std::numeric_limits<int>::min());
    EXPECT_FALSE(XmlSupport::getBooleanAttribute(e, "no", true));

    const QDomElement odd = element("one='1' zero='0' word='yes' comma='1,5' big='99999999999' "
                                    "trail='12abc' blank=' 42 ' empty=''");
    EXPECT_TRUE(XmlSupport::getBooleanAttribute(odd, "one", false));
    EXPECT_FALSE(XmlSupport::getBooleanAttribute(odd, "zero", true));
    EXPECT_EQ(XmlSupport::getIntAttribute(odd, "blank", 0), 42);
    for (const char* name : {"word", "comma", "big", "trail", "missing", "empty"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(XmlSupport::getIntAttribute(odd, name, -7), -7);
        EXPECT_TRUE(XmlSupport::getBooleanAttribute(odd, name, true));
    }
    EXPECT_EQ(XmlSupport::getDoubleAttribute(odd, "comma", -7.5), -7.5);
}

TEST(XmlAttributes, AFiniteDoubleRefusesWhatReadsAsNoFiniteNumberNamingTheElement)
{
    const QDomElement e = element("ok='-12.5' nan='nan' inf=' -inf ' huge='1e309' word='yes' "
                                  "tiny='1e-400'");
    EXPECT_EQ(XmlSupport::getFiniteDoubleAttribute(e, "ok", 3.0), -12.5);
    // What is no number at all, or missing, keeps the default as the plain reader does.
    for (const char* name : {"word", "missing", "tiny"}) {
        EXPECT_EQ(XmlSupport::getFiniteDoubleAttribute(e, name, 3.0),
                  XmlSupport::getDoubleAttribute(e, name, 3.0))
            << name;
    }
    for (const char* name : {"nan", "inf", "huge"}) {
        SCOPED_TRACE(name);
        try {
            XmlSupport::getFiniteDoubleAttribute(e, name, 3.0);
            ADD_FAILURE() << "read";
        } catch (const guimisc::ErrorMessage& error) {
            EXPECT_EQ(error.message(),
                      QStringLiteral("Invalid coordinate: not a finite number: attribute %1 of "
                                     "element Item (line %2)")
                          .arg(QLatin1String(name))
                          .arg(e.lineNumber()));
        }
    }
}

TEST(XmlAttributes, StringsColoursAndPointsRoundTrip)
{
    const QString texts[] = {QString::fromUtf8("河川 測量 ü ß 🌊"), "quote \" ' <&>\n\t", "  padded  "};
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        StringContainer saved("caption", "default");
        saved = text;
        StringContainer loaded("caption", "default");
        loaded.load(roundTrip([&](QXmlStreamWriter* w) { saved.save(w); }));
        EXPECT_EQ(loaded.value(), text);
    }
    StringContainer missing("caption", "default");
    missing = "changed";
    missing.load(element(""));
    EXPECT_EQ(missing.value(), "default");

    ColorContainer savedColor("color", Qt::red);
    savedColor = QColor(12, 34, 56);
    ColorContainer color("color", Qt::red);
    color.load(roundTrip([&](QXmlStreamWriter* w) { savedColor.save(w); }));
    EXPECT_EQ(color.value(), QColor(12, 34, 56));
    color.load(element("color='not a colour'"));
    EXPECT_EQ(color.value(), QColor(Qt::red));

    QPointFContainer saved("topLeft");
    saved = QPointF(-0.1, 1e-300);
    QPointFContainer loaded("topLeft", QPointF(9, 9));
    loaded.load(roundTrip([&](QXmlStreamWriter* w) { saved.save(w); }));
    EXPECT_TRUE(sameBits(loaded.value().x(), -0.1));
    EXPECT_TRUE(sameBits(loaded.value().y(), 1e-300));
    loaded.load(element("topLeftX='5' topLeftY='x'"));
    EXPECT_EQ(loaded.value(), QPointF(5, 9));
}

TEST(XmlAttributes, CompositeLoadsSavesAndCopiesItsMembersTogether)
{
    Setting saved;
    saved.color = QColor(1, 2, 3);
    saved.radius = 7;
    saved.byValue = false;
    saved.corner = QPointF(1e6 + 0.25, -3.5);
    QByteArray text;
    const QDomElement e = roundTrip([&](QXmlStreamWriter* w) { saved.save(w); }, &text);
    // In member order.
    const int c = text.indexOf("color="), r = text.indexOf("radius="),
              b = text.indexOf("useColorByValue="), x = text.indexOf("topLeftX=");
    EXPECT_TRUE(c >= 0 && c < r && r < b && b < x) << text.constData();

    Setting loaded;
    loaded.load(e);
    EXPECT_EQ(loaded.color.value(), QColor(1, 2, 3));
    EXPECT_EQ(loaded.radius, 7);
    EXPECT_FALSE(loaded.byValue);
    EXPECT_EQ(loaded.corner.value(), QPointF(1e6 + 0.25, -3.5));

    // A partial element: present members load, missing ones take their defaults.
    loaded.load(element("radius='4'"));
    EXPECT_EQ(loaded.radius, 4);
    EXPECT_EQ(loaded.color.value(), QColor(Qt::cyan));
    EXPECT_TRUE(loaded.byValue);

    // Copies are values of their own: they point at their own members.
    Setting copy(saved);
    saved.radius = 99;
    EXPECT_EQ(copy.radius, 7);
    EXPECT_EQ(copy.color.value(), QColor(1, 2, 3));

    // copyValue between kinds that do not match changes nothing.
    IntContainer number("n", 1);
    number.copyValue(DoubleContainer("n", 5.0));
    EXPECT_EQ(number, 1);
}

TEST(XmlAttributes, OpacityIsSetInPercentAndReadAsFraction)
{
    struct Style : CompositeContainer {
        Style() : CompositeContainer({&width, &opacity}) {}
        IntContainer width{"lineWidth", 1};
        OpacityContainer opacity;
    };
    Style saved;
    saved.opacity = 50;
    EXPECT_EQ(static_cast<double>(saved.opacity), 0.5);
    const QDomElement e = roundTrip([&](QXmlStreamWriter* w) { saved.save(w); });
    EXPECT_EQ(e.attribute("opacity"), "50");

    Style loaded;
    EXPECT_EQ(static_cast<double>(loaded.opacity), 1.0) << "opaque until set";
    loaded.load(e);
    EXPECT_EQ(loaded.opacity.percent(), 50);
    const double painterOpacity = loaded.opacity;
    EXPECT_EQ(painterOpacity, 0.5);

    // A missing or malformed attribute is opaque; a stored value out of range is clamped.
    loaded.load(element("lineWidth='3'"));
    EXPECT_EQ(static_cast<double>(loaded.opacity), 1.0);
    loaded.load(element("opacity='half'"));
    EXPECT_EQ(loaded.opacity.percent(), 100);
    loaded.load(element("opacity='250'"));
    EXPECT_EQ(loaded.opacity.percent(), 100);
    loaded.opacity = -5;
    EXPECT_EQ(static_cast<double>(loaded.opacity), 0.0);

    Style copy;
    copy.copyValue(saved);
    EXPECT_EQ(copy.opacity.percent(), 50);
}

TEST(XmlSupport, ChildWithAttributeIsTheFirstOfThatTagAndValue)
{
    QDomDocument document;
    ASSERT_TRUE(document.setContent(QStringLiteral(
        "<Top><Group name='b' n='1'/><Other name='a'/><Group n='2'/><Group name='a' n='3'/>"
        "<Group name='a' n='4'/><Group name='A' n='5'/></Top>")));
    const QDomElement top = document.documentElement();
    EXPECT_EQ(XmlSupport::getChildNodeWithAttribute(top, "Group", "name", "a").attribute("n"), "3");
    EXPECT_EQ(XmlSupport::getChildNodeWithAttribute(top, "Group", "name", "b").attribute("n"), "1");
    EXPECT_TRUE(XmlSupport::getChildNodeWithAttribute(top, "Group", "name", "").isNull())
        << "a missing attribute is no empty one";
    EXPECT_TRUE(XmlSupport::getChildNodeWithAttribute(top, "Group", "name", "c").isNull());
    EXPECT_TRUE(XmlSupport::getChildNodeWithAttribute(top, "Other", "n", "3").isNull());
}

TEST(XmlSupport, LoadDomReportsTheFileAndWhereItBreaks)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString good = tmp.filePath(QString::fromUtf8("プロジェクト.xml"));
    ASSERT_TRUE(hobrintest::writeFile(good, "<?xml version='1.0'?>\n<Project version='1.2'/>\n"));
    QDomDocument document;
    guimisc::xml::XmlSupport::loadDom(good, &document);
    EXPECT_EQ(document.documentElement().attribute("version"), "1.2");

    auto messageOf = [](const QString& path) {
        QDomDocument d;
        try {
            XmlSupport::loadDom(path, &d);
        } catch (const guimisc::ErrorMessage& e) {
            EXPECT_TRUE(d.documentElement().isNull());
            EXPECT_EQ(QString::fromUtf8(e.what()), e.message());
            return e.message();
        }
        ADD_FAILURE() << "no error for " << path.toStdString();
        return QString();
    };
    const QString missing = tmp.filePath("missing.xml");
    EXPECT_TRUE(messageOf(missing).contains(missing));

    const QString broken = tmp.filePath(QString::fromUtf8("壊れた.xml"));
    ASSERT_TRUE(hobrintest::writeFile(broken, "<Project>\n  <View a='1'>\n</Project>\n"));
    const QString text = messageOf(broken);
    EXPECT_TRUE(text.contains(broken)) << text.toStdString();
    EXPECT_TRUE(text.contains("line 3")) << text.toStdString();
    EXPECT_TRUE(text.contains("column")) << text.toStdString();

    EXPECT_TRUE(messageOf(tmp.path()).contains(tmp.path())); // a folder is no file
}

TEST(XmlSupport, LoadDomRefusesNestingBeyondTheBoundBeforeBuildingTheTree)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    // `levels` elements, each inside the one before, the innermost on the second line.
    auto nested = [&tmp](int levels) {
        const QString path = tmp.filePath(QStringLiteral("deep%1.xml").arg(levels));
        const QByteArray xml = "<a>" + QByteArray("<a>").repeated(levels - 2) + "\n<b/>"
                               + QByteArray("</a>").repeated(levels - 1) + "\n";
        EXPECT_TRUE(hobrintest::writeFile(path, xml));
        return path;
    };
    QDomDocument document;
    XmlSupport::loadDom(nested(XmlSupport::maxDepth), &document);
    EXPECT_FALSE(document.documentElement().isNull());

    // One level more is refused like malformed XML; far more (which overflowed the stack of
    // the tree builder) as well.
    for (const int levels : {XmlSupport::maxDepth + 1, 25000}) {
        const QString path = nested(levels);
        const int line = levels == XmlSupport::maxDepth + 1 ? 2 : 1; // where the bound is passed
        try {
            XmlSupport::loadDom(path, &document);
            ADD_FAILURE() << levels << " levels were read";
        } catch (const guimisc::ErrorMessage& e) {
            EXPECT_TRUE(e.message().contains(path)) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QStringLiteral("line %1,").arg(line)))
                << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QStringLiteral("column"))) << e.message().toStdString();
        }
        EXPECT_TRUE(document.documentElement().isNull());
    }
}

// Markup that hides element tags (comments, processing instructions, CDATA, quoted values
// holding "/>") and entities that expand to elements do not hide the depth: a
// document one level past the bound is refused wherever its tags are disguised, one at
// the bound is read.
TEST(XmlSupport, NestingIsCountedThroughMarkupThatHidesTags)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QByteArray level = "<a t=\"/>\" u='a>/b'><!-- </a></a> --><?p </a>?><![CDATA[</a>]]>";
    const auto write = [&tmp](const QString& name, const QByteArray& xml) {
        const QString path = tmp.filePath(name);
        EXPECT_TRUE(hobrintest::writeFile(path, xml));
        return path;
    };
    const auto disguised = [&level](int levels) {
        return level.repeated(levels) + QByteArray("</a>").repeated(levels) + "\n";
    };
    QDomDocument document;
    XmlSupport::loadDom(write("within.xml", disguised(XmlSupport::maxDepth)), &document);
    EXPECT_EQ(document.documentElement().attribute("u"), "a>/b");

    // Entities declared in the document type expand to elements in the tree.
    const QByteArray entity = "<!DOCTYPE r [<!ENTITY e '" + QByteArray("<a>").repeated(200)
                              + QByteArray("</a>").repeated(200) + "'>]>\n<r>"
                              + QByteArray("<b>").repeated(100) + "&e;"
                              + QByteArray("</b>").repeated(100) + "</r>\n";
    const QStringList refused{write("beyond.xml", disguised(XmlSupport::maxDepth + 1)),
                              write("entity.xml", entity)};
    for (const QString& path : refused) {
        try {
            XmlSupport::loadDom(path, &document);
            ADD_FAILURE() << path.toStdString() << " was read";
        } catch (const guimisc::ErrorMessage& e) {
            EXPECT_TRUE(e.message().contains(path)) << e.message().toStdString();
        }
        EXPECT_TRUE(document.documentElement().isNull());
    }
}

// A large file's tree is built on the DOM thread: it reads the same as a small file's, a
// fault in it is reported with its line as well, and a discarded tree is freed in the
// background while the caller goes on.
TEST(XmlSupport, LargeDocumentsReadTheSameAndAreDiscardedInTheBackground)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    QByteArray xml = "<?xml version='1.0'?>\n<Project>\n";
    const int rows = 40000; // about 1.5 MB
    for (int i = 0; i < rows; ++i) {
        xml += "  <Item name=\"S" + QByteArray::number(i) + "\" x=\"" + QByteArray::number(i * 0.5)
               + "\"/>\n";
    }
    ASSERT_GT(xml.size() + 12, 1 << 20);
    const QString large = tmp.filePath("large.xml");
    ASSERT_TRUE(hobrintest::writeFile(large, xml + "</Project>\n"));
    QDomDocument document;
    XmlSupport::loadDom(large, &document);
    int count = 0;
    QDomElement last;
    for (QDomElement e = document.documentElement().firstChildElement("Item"); !e.isNull();
         e = e.nextSiblingElement("Item")) {
        ++count;
        last = e;
    }
    EXPECT_EQ(count, rows);
    EXPECT_EQ(last.attribute("name"), QStringLiteral("S%1").arg(rows - 1));
    EXPECT_EQ(XmlSupport::getDoubleAttribute(last, "x"), (rows - 1) * 0.5);
    last = QDomElement();
    XmlSupport::discardDom(&document);
    EXPECT_TRUE(document.isNull());
    XmlSupport::waitForDiscardedDoms();

    const QString broken = tmp.filePath("broken.xml");
    ASSERT_TRUE(hobrintest::writeFile(broken, xml + "  <Item>\n</Project>\n"));
    try {
        XmlSupport::loadDom(broken, &document);
        ADD_FAILURE() << "a large broken file was read";
    } catch (const guimisc::ErrorMessage& e) {
        EXPECT_TRUE(e.message().contains(broken)) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QStringLiteral("line %1,").arg(rows + 4)))
            << e.message().toStdString();
    }
    EXPECT_TRUE(document.documentElement().isNull());
}

// A prefetched file reads as `loadDom` would read it then: the tree when the file is still
// the one read ahead, its message when it is broken, and the file as it is now when it was
// replaced meanwhile or is a link (never followed by the prefetch).
TEST(XmlSupport, APrefetchedFileReadsAsTheFileIsWhenLoaded)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString path = tmp.filePath("project.xml");
    const auto versionRead = [&path] {
        QDomDocument document;
        XmlSupport::loadDom(path, &document);
        const QString version = document.documentElement().attribute("v");
        XmlSupport::discardDom(&document);
        return version;
    };
    ASSERT_TRUE(hobrintest::writeFile(path, "<Project v='1'/>"));
    XmlSupport::prefetchDom(path);
    EXPECT_EQ(versionRead(), "1");
    EXPECT_EQ(versionRead(), "1") << "read anew once taken";

    XmlSupport::prefetchDom(path);
    XmlSupport::waitForDiscardedDoms(); // the prefetch has read the first file
    const QString replacement = tmp.filePath("replacement.xml");
    ASSERT_TRUE(hobrintest::writeFile(replacement, "<Project v='2' longer='yes'/>"));
    ASSERT_EQ(std::rename(QFile::encodeName(replacement), QFile::encodeName(path)), 0);
    EXPECT_EQ(versionRead(), "2");

    ASSERT_TRUE(hobrintest::writeFile(path, "<Project v='3'>\n<Open>\n</Project>\n"));
    QString expected;
    try {
        QDomDocument document;
        XmlSupport::loadDom(path, &document);
    } catch (const guimisc::ErrorMessage& e) {
        expected = e.message();
    }
    ASSERT_FALSE(expected.isEmpty());
    XmlSupport::prefetchDom(path);
    try {
        versionRead();
        ADD_FAILURE() << "a broken prefetched file was read";
    } catch (const guimisc::ErrorMessage& e) {
        EXPECT_EQ(e.message(), expected);
    }

    const QString target = tmp.filePath("target.xml");
    ASSERT_TRUE(hobrintest::writeFile(target, "<Project v='4'/>"));
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::link(target, path));
    XmlSupport::prefetchDom(path);
    EXPECT_EQ(versionRead(), "4") << "what loadDom itself reads";

    XmlSupport::prefetchDom(path);
    XmlSupport::discardPrefetchedDom();
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(hobrintest::writeFile(path, "<Project v='5'/>"));
    EXPECT_EQ(versionRead(), "5");
}

// The longest attribute is found whichever quotes enclose it, however the other kind of
// quote cuts it up, and through the entities it refers to; the DOM is never built for it.
TEST(XmlSupport, AnAttributeLongerThanTheLimitIsFoundByItsQuotesOrItsEntities)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QByteArray run(1000, 'a');
    QByteArray apostrophes;
    for (int i = 0; i < 10; ++i) {
        apostrophes += QByteArray(99, 'b') + '\'';
    }
    QByteArray references;
    for (int i = 0; i < 20; ++i) {
        references += "&e;";
    }
    const std::pair<const char*, QByteArray> files[] = {
        {"short.xml", "<Item a=\"" + run.left(999) + "\" b='" + run.left(500) + "'/>"},
        {"double.xml", "<Item a=\"" + run + "a\"/>"},
        {"single.xml", "<Item a='" + run + "a'/>"},
        {"apostrophes.xml", "<Item a=\"" + apostrophes + "x\"/>"},
        {"entities.xml", "<!DOCTYPE Item [<!ENTITY e \"" + run.left(60) + "\">]><Item a=\"" + references + "\"/>"},
        {"text.xml", "<Item a=\"1\">\"" + run + run + "\"</Item>"},
    };
    const bool holds[] = {false, true, true, true, true, false};
    for (std::size_t i = 0; i < std::size(files); ++i) {
        SCOPED_TRACE(files[i].first);
        const QString path = tmp.filePath(QLatin1String(files[i].first));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(files[i].second);
        file.close();
        EXPECT_EQ(XmlSupport::holdsAttributeLongerThan(path, 1000), holds[i]);
    }
    EXPECT_FALSE(XmlSupport::holdsAttributeLongerThan(tmp.filePath("missing.xml"), 1000));
}
