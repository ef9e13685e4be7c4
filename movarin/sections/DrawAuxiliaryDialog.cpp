#include "movarin/sections/DrawAuxiliaryDialog.h"

#include "movarin/shell/PointsMainViewHelper.h"
#include "movarin/shell/PolylineMainViewHelper.h"

#include "brask/core/View.h"
#include "orlin/core/PlanCoordinate.h"
#include "brask/window/WindowWithViewI.h"

#include <guimisc/UserDialogs.h>

#include <QColor>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <cmath>

namespace varnel {

namespace {

const QString defaultColor = QStringLiteral("#000000");

int kindOf(const QString& word)
{
    const QString w = word.toLower();
    if (w == QLatin1String("point")) {
        return DrawAuxiliaryDialog::PointKind;
    }
    if (w == QLatin1String("polyline")) {
        return DrawAuxiliaryDialog::PolylineKind;
    }
    if (w == QLatin1String("edge")) {
        return DrawAuxiliaryDialog::EdgeKind;
    }
    if (w == QLatin1String("triangle")) {
        return DrawAuxiliaryDialog::TriangleKind;
    }
    return DrawAuxiliaryDialog::InvalidKind;
}

// A plan coordinate, or false: "nan" and "inf" read as numbers but place nothing, and
// neither does a number beyond any plane coordinate system.
bool readCoordinate(const QString& text, double* value)
{
    bool ok = false;
    *value = text.toDouble(&ok);
    return ok && tin::core::PlanCoordinate::isUsable(*value);
}

} // namespace

DrawAuxiliaryDialog::DrawAuxiliaryDialog(QWidget* parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("DrawAuxiliaryDialog"));
    setWindowTitle(tr("Draw lines and points"));
    if (auto withView = qobject_cast<mvc::window::WindowWithViewI*>(parent)) {
        m_view = withView->view();
    }

    auto layout = new QVBoxLayout(this);
    m_textEdit = new QPlainTextEdit(this);
    m_textEdit->setObjectName(QStringLiteral("plainTextEdit"));
    layout->addWidget(m_textEdit);
    auto buttons = new QDialogButtonBox(
        QDialogButtonBox::Apply | QDialogButtonBox::Cancel | QDialogButtonBox::Ok, Qt::Horizontal,
        this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &DrawAuxiliaryDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DrawAuxiliaryDialog::reject);
    connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            &DrawAuxiliaryDialog::apply);
}

DrawAuxiliaryDialog::~DrawAuxiliaryDialog()
{
    removeDrawings();
}

const std::vector<DrawAuxiliaryDialog::Record>& DrawAuxiliaryDialog::records() const
{
    return m_records;
}

void DrawAuxiliaryDialog::accept()
{
    apply();
    QDialog::accept();
}

void DrawAuxiliaryDialog::reject()
{
    QDialog::reject();
}

void DrawAuxiliaryDialog::apply()
{
    std::vector<Record> records;
    QString error;
    if (!parse(m_textEdit->toPlainText(), &records, &error)) {
        records.clear();
        guimisc::UserDialogs::warning(nullptr, tr("Warning"), error);
    }
    removeDrawings();
    m_records = std::move(records);
    if (!m_view) {
        return;
    }
    for (const auto& [kind, colorText, points] : m_records) {
        QColor color(colorText);
        if (!color.isValid()) {
            color = QColor(defaultColor);
        }
        m_helpers.push_back(
            std::make_unique<PointsMainViewHelper>(&points, m_view.data(), QPen(), QBrush(color)));
        const int* ringSize = nullptr;
        switch (kind) {
        case EdgeKind:
            ringSize = &m_edgeRingSize;
            break;
        case TriangleKind:
            ringSize = &m_triangleRingSize;
            break;
        case PolylineKind:
            break;
        default:
            continue;
        }
        m_helpers.push_back(std::make_unique<PolylineMainViewHelper>(
            &points, m_view.data(), QPen(color), QBrush(Qt::SolidPattern), ringSize));
    }
    m_view->addViewHelper(m_helpers);
    m_view->update();
}

bool DrawAuxiliaryDialog::parse(const QString& text, std::vector<Record>* records,
                                QString* error)
{
    static const QRegularExpression headerMarks(QStringLiteral("^#+\\s*"));
    static const QRegularExpression blank(QStringLiteral("^\\s*$"));
    static const QRegularExpression spaces(QStringLiteral("\\s+"));

    QString color = defaultColor;
    int kind = PolylineKind;
    std::vector<tin::core::Point> points;
    auto close = [&]() {
        if (!points.empty()) {
            records->emplace_back(kind, color, std::move(points));
            points.clear();
        }
    };

    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('#'))) {
            const QString header = QString(line).remove(headerMarks);
            const QStringList parts = header.split(QLatin1Char(':'));
            if (header.startsWith(QLatin1Char('#')) || parts.size() < 2) {
                continue;
            }
            const QString key = parts[0].trimmed();
            const QString value = parts[1].trimmed();
            if (key == QLatin1String("color")) {
                color = value;
            } else if (key == QLatin1String("type")) {
                kind = kindOf(value);
                if (kind == InvalidKind) {
                    *error = tr("Invalid type: %1").arg(value);
                    return false;
                }
            } else {
                *error = tr("Invalid key: %1").arg(key);
                return false;
            }
            close();
            continue;
        }
        if (blank.match(line).hasMatch()) {
            close();
            continue;
        }
        const QStringList fields = line.split(spaces);
        double x = 0.0;
        double y = 0.0;
        if (fields.size() < 2 || !readCoordinate(fields[0], &x) || !readCoordinate(fields[1], &y)) {
            *error = tr("Invalid coordinates: %1").arg(line);
            return false;
        }
        points.emplace_back(x, y);
    }
    close();
    return true;
}

void DrawAuxiliaryDialog::removeDrawings()
{
    if (m_view && !m_helpers.empty()) {
        m_view->deleteViewHelper(m_helpers);
        m_view->update();
    }
    m_helpers.clear();
}

} // namespace varnel
