// Command ids, the pick radius, the Enter keys and comma-separated fields.
#include "TestSupport.h"
#include "guimisc/KeyboardSupport.h"
#include "guimisc/MouseSupport.h"
#include "guimisc/QUndoCommandSupport.h"
#include "guimisc/StringSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

using namespace guimisc;

TEST(InputSupport, CommandIdsAreStablePerNameAndDistinct)
{
    const QStringList names{"EditCommand", "DefineEndCommand", "MoveVertexCommand", "",
                            "editcommand"};
    std::set<int> ids;
    for (const QString& name : names) {
        const int id = QUndoCommandSupport::generateCommandId(name);
        EXPECT_NE(id, -1) << "-1 would turn merging off";
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(names.size()));
    for (const QString& name : names) {
        EXPECT_EQ(ids.count(QUndoCommandSupport::generateCommandId(name)), 1u);
    }
    EXPECT_EQ(QUndoCommandSupport::generateCommandId(QString("Edit") + "Command"),
              QUndoCommandSupport::generateCommandId("EditCommand"));
}

TEST(InputSupport, NearnessAndEnterKeys)
{
    const double r = MouseSupport::nearRadius();
    EXPECT_EQ(r, 3);
    EXPECT_TRUE(MouseSupport::isNear({10, 10}, {13, 10}, r));
    EXPECT_TRUE(MouseSupport::isNear({10, 10}, {8, 12}, r)); // 2.83 apart
    EXPECT_FALSE(MouseSupport::isNear({10, 10}, {12.5, 12.5}, r)) << "the corner of the square";
    EXPECT_FALSE(MouseSupport::isNear({std::nan(""), 0}, {0, 0}, r));
    EXPECT_FALSE(MouseSupport::isNear({0, 0}, {std::numeric_limits<double>::infinity(), 0}, r));

    EXPECT_TRUE(KeyboardSupport::isEnterKey(Qt::Key_Return));
    EXPECT_TRUE(KeyboardSupport::isEnterKey(Qt::Key_Enter));
    for (int key : {int(Qt::Key_Space), int(Qt::Key_Escape), 0, int('\r'), int('\n')}) {
        EXPECT_FALSE(KeyboardSupport::isEnterKey(key)) << key;
    }
}

TEST(InputSupport, CsvFieldsKeepBlanksAndQuotedCommas)
{
    EXPECT_EQ(StringSupport::parseCSVLine(R"(a, "b,c" ,"x""y")"),
              QStringList({"a", " b,c ", "x\"y"}));
    EXPECT_EQ(StringSupport::parseCSVLine(""), QStringList({""}));
    EXPECT_EQ(StringSupport::parseCSVLine(",,"), QStringList({"", "", ""}));
    EXPECT_EQ(StringSupport::parseCSVLine(R"("open, to the end)"),
              QStringList({"open, to the end"}));
    EXPECT_EQ(StringSupport::parseCSVLine(R"("""")"), QStringList({"\""}));
}

// Of U+0000 to U+00FF only ASCII's controls count: C0 and DEL, not the C1 block above.
TEST(InputSupport, ControlCharactersAreTheAsciiOnes)
{
    for (ushort code = 0; code < 0x100; ++code) {
        const QString text = QStringLiteral("a") + QChar(code) + QStringLiteral("b");
        const bool control = code < 0x20 || code == 0x7f;
        EXPECT_EQ(StringSupport::hasControlCharacter(text), control) << code;
    }
    EXPECT_FALSE(StringSupport::hasControlCharacter(QString()));
    EXPECT_FALSE(StringSupport::hasControlCharacter(QStringLiteral("鬼怒川 No.1")));
}

TEST(InputSupport, CsvFieldsAgreeWithPythonsReader)
{
    // Quotes at the start of fields, as spreadsheets write them.
    const QStringList lines{
        R"(S1,100.5,200.25,101.0,201.0)",
        R"("Section, north",1e3,-2.5,,)",
        R"( padded ,"","he said ""go""",x,)",
        QString::fromUtf8("断面,\"河川, 右岸\",0"),
    };
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString input = tmp.filePath("lines.csv");
    ASSERT_TRUE(hobrintest::writeFile(input, lines.join('\n').toUtf8() + '\n'));
    bool ok = false;
    const QByteArray output = hobrintest::run(
        "python3",
        {"-c", "import csv, json, sys\n"
               "rows = list(csv.reader(open(sys.argv[1], encoding='utf-8', newline='')))\n"
               "sys.stdout.write(json.dumps(rows))\n",
         input},
        &ok);
    ASSERT_TRUE(ok);
    const QJsonArray rows = QJsonDocument::fromJson(output).array();
    ASSERT_EQ(rows.size(), lines.size());
    for (int i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i].toStdString());
        QStringList expected;
        for (const auto& field : rows[i].toArray()) {
            expected << field.toString();
        }
        EXPECT_EQ(StringSupport::parseCSVLine(lines[i]), expected);
    }
}
