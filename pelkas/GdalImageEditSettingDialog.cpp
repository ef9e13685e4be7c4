#include "pelkas/GdalImageEditSettingDialog.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <array>
#include <cmath>

namespace gdalimg {

namespace {

constexpr double PI = 3.141592653589793;
constexpr double COORDINATE_LIMIT = 10000000.0;
const char* const QUESTION_ICON = ":/libs/guimisc/images/iconQuestion.png";

QDoubleSpinBox* numberBox(const char* name, double minimum, double maximum, double value, QWidget* parent)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setDecimals(4);
    box->setRange(minimum, maximum);
    box->setValue(value);
    box->setAlignment(Qt::AlignRight | Qt::AlignTrailing | Qt::AlignVCenter);
    return box;
}

QLabel* questionMark(const QString& tip, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setPixmap(QPixmap(QUESTION_ICON));
    label->setToolTip(QStringLiteral("<html><head/><body><p>%1</p></body></html>").arg(tip));
    return label;
}

// A group of an "X:" and a "Y:" row, labels against boxes 1 : 4.
QGroupBox* vertexGroup(const QString& title, QDoubleSpinBox* x, QDoubleSpinBox* y, QWidget* parent)
{
    auto* group = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("X:"), group), 0, 0);
    grid->addWidget(x, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Y:"), group), 1, 0);
    grid->addWidget(y, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 4);
    return group;
}

} // namespace

GdalImageEditSettingDialog::GdalImageEditSettingDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    buildForm();
    for (QDoubleSpinBox* box : {m_bottomLeftX, m_bottomLeftY, m_bottomRightX, m_bottomRightY, m_scale, m_angle}) {
        connect(box, qOverload<double>(&QDoubleSpinBox::valueChanged), this, &GdalImageEditSettingDialog::update);
    }
    connect(m_buttonBox, &QDialogButtonBox::clicked, this, &GdalImageEditSettingDialog::handleButtonBoxClick);
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &GdalImageEditSettingDialog::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &GdalImageEditSettingDialog::reject);
}

GdalImageEditSettingDialog::~GdalImageEditSettingDialog() = default;

void GdalImageEditSettingDialog::buildForm()
{
    setWindowTitle(QStringLiteral("Background Image Position"));
    resize(363, 268);

    auto* method = new QGroupBox(QStringLiteral("Method of designation"), this);
    m_byScaleButton = new QRadioButton(QStringLiteral("Specify bottom-left vertex position, scale, and rotate angle"), method);
    m_byScaleButton->setObjectName(QStringLiteral("byScaleButton"));
    m_byScaleButton->setChecked(true);
    m_byCornersButton = new QRadioButton(QStringLiteral("Specify bottom-left and bottom-right vertex positions"), method);
    m_byCornersButton->setObjectName(QStringLiteral("byCornersButton"));
    auto* methodLayout = new QVBoxLayout(method);
    methodLayout->addWidget(m_byScaleButton);
    methodLayout->addWidget(m_byCornersButton);

    m_bottomLeftX = numberBox("bottomLeftX", -COORDINATE_LIMIT, COORDINATE_LIMIT, 0, this);
    m_bottomLeftY = numberBox("bottomLeftY", -COORDINATE_LIMIT, COORDINATE_LIMIT, 0, this);
    m_bottomRightX = numberBox("bottomRightX", -COORDINATE_LIMIT, COORDINATE_LIMIT, 0, this);
    m_bottomRightY = numberBox("bottomRightY", -COORDINATE_LIMIT, COORDINATE_LIMIT, 0, this);
    m_bottomRightX->setEnabled(false);
    m_bottomRightY->setEnabled(false);
    m_scale = numberBox("scale", GdalImageSetting::scaleMin, COORDINATE_LIMIT, 1, this);
    m_angle = numberBox("angle", -180, 360, 0, this);

    auto* scaleAndAngle = new QGridLayout();
    scaleAndAngle->addWidget(new QLabel(QStringLiteral("Scale:"), this), 0, 0);
    scaleAndAngle->addWidget(m_scale, 0, 1);
    scaleAndAngle->addWidget(
        questionMark(QStringLiteral("Specify the distance in meters that corresponds to the width of one pixel of the image."), this),
        0, 2);
    scaleAndAngle->addWidget(new QLabel(QStringLiteral("Rotate Angle:"), this), 1, 0);
    scaleAndAngle->addWidget(m_angle, 1, 1);
    scaleAndAngle->addWidget(questionMark(QStringLiteral("Specify the angle of image bottom edge against X-axis."), this), 1, 2);

    m_buttonBox = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply | QDialogButtonBox::Reset,
        Qt::Horizontal, this);
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(method);
    layout->addWidget(vertexGroup(QStringLiteral("Bottom-left vertex"), m_bottomLeftX, m_bottomLeftY, this));
    layout->addWidget(vertexGroup(QStringLiteral("Bottom-right vertex"), m_bottomRightX, m_bottomRightY, this));
    layout->addLayout(scaleAndAngle);
    layout->addWidget(m_buttonBox);

    const std::array<QWidget*, 8> tabOrder = {m_byScaleButton, m_byCornersButton, m_bottomLeftX, m_bottomLeftY,
                                              m_bottomRightX, m_bottomRightY, m_scale, m_angle};
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }

    connect(m_byScaleButton, &QRadioButton::toggled, this, [this](bool on) {
        m_scale->setEnabled(on);
        m_angle->setEnabled(on);
    });
    connect(m_byCornersButton, &QRadioButton::toggled, this, [this](bool on) {
        m_bottomRightX->setEnabled(on);
        m_bottomRightY->setEnabled(on);
    });
}

void GdalImageEditSettingDialog::setSetting(const GdalImageSetting& setting)
{
    m_setting = setting;
    m_initialSetting = setting;
    reset();
}

void GdalImageEditSettingDialog::setWidth(int width)
{
    m_width = width;
    reset();
}

void GdalImageEditSettingDialog::setHeight(int height)
{
    m_height = height;
    reset();
}

void GdalImageEditSettingDialog::apply()
{
    const double s = m_scale->value();
    const double a = m_angle->value() * PI / 180.0;
    const double down = s * m_height;
    GdalImageSetting setting = m_setting;
    setting.setTopLeft(QPointF(m_bottomLeftX->value() - down * std::sin(a), m_bottomLeftY->value() + down * std::cos(a)));
    setting.setScale(s);
    setting.setAngle(m_angle->value());
    m_setting = setting;
}

void GdalImageEditSettingDialog::reset()
{
    // Filled with every box silent, so that no box recomputes another from half-filled values
    // (the two-corner method would otherwise overwrite the scale it is restoring).
    const QSignalBlocker blockers[] = {QSignalBlocker(m_bottomLeftX), QSignalBlocker(m_bottomLeftY),
                                       QSignalBlocker(m_bottomRightX), QSignalBlocker(m_bottomRightY),
                                       QSignalBlocker(m_scale), QSignalBlocker(m_angle)};
    const double s = m_setting.scale();
    const double a = m_setting.angle() * PI / 180.0;
    const double down = s * m_height;
    const QPointF topLeft = m_setting.topLeft();
    m_bottomLeftX->setValue(topLeft.x() + down * std::sin(a));
    m_bottomLeftY->setValue(topLeft.y() - down * std::cos(a));
    m_scale->setValue(s);
    m_angle->setValue(m_setting.angle());
    updateBottomRight();
}

void GdalImageEditSettingDialog::accept()
{
    apply();
    QDialog::accept();
}

void GdalImageEditSettingDialog::reject()
{
    m_setting = m_initialSetting;
    QDialog::reject();
}

void GdalImageEditSettingDialog::update()
{
    if (m_byCornersButton->isChecked()) {
        updateScaleAndAngle();
    } else {
        updateBottomRight();
    }
}

void GdalImageEditSettingDialog::handleButtonBoxClick(QAbstractButton* button)
{
    switch (m_buttonBox->buttonRole(button)) {
    case QDialogButtonBox::ApplyRole:
        apply();
        break;
    case QDialogButtonBox::ResetRole:
        reset();
        break;
    default:
        break; // OK and Cancel arrive through accepted() and rejected()
    }
}

void GdalImageEditSettingDialog::updateBottomRight()
{
    const double length = m_scale->value() * m_width;
    const double a = m_angle->value() * PI / 180.0;
    const QSignalBlocker blockX(m_bottomRightX);
    const QSignalBlocker blockY(m_bottomRightY);
    m_bottomRightX->setValue(m_bottomLeftX->value() + length * std::cos(a));
    m_bottomRightY->setValue(m_bottomLeftY->value() + length * std::sin(a));
}

void GdalImageEditSettingDialog::updateScaleAndAngle()
{
    const double dx = m_bottomRightX->value() - m_bottomLeftX->value();
    const double dy = m_bottomRightY->value() - m_bottomLeftY->value();
    double angle = 0.0;
    if (dx == 0.0 || std::abs(dy / dx) > 1000000.0) {
        angle = dy > 0 ? 90.0 : -90.0;
    } else {
        angle = std::atan(dy / dx) * 180.0 / PI;
        if (dx < 0) {
            angle += dy > 0 ? 180.0 : -180.0;
        }
    }
    // Without a width the scale is infinite and the box holds its maximum; two equal corners
    // and no width give no scale at all.
    const double scale = std::sqrt(dx * dx + dy * dy) / m_width;
    const QSignalBlocker blockScale(m_scale);
    const QSignalBlocker blockAngle(m_angle);
    if (!std::isnan(scale)) {
        m_scale->setValue(scale);
    }
    m_angle->setValue(angle);
}

} // namespace gdalimg
