#pragma once

#include "movarin/shell/PreferencePage.h"

class QCheckBox;
class QDoubleValidator;
class QLineEdit;

namespace varnel {

/// The Graphics page: the range of the elevation colour map (Min, Max) with its water
/// surface, whether TIN edges are drawn, and the Z-direction scale of the bird's-eye view.
///
/// The four numbers are entered, checked and stored as text in the C locale (a point for
/// the decimals, at most two of them), whatever the user's locale, because every reader
/// converts them with the C locale. A stored value is shown as it is stored; a missing key
/// shows an empty field, which does not validate. Min may equal Max; any number is a scale.
/// A refusal names the field: "Color Map range is invalid." (Min, Max), "Water Surface is
/// invalid.", "Z-direction Scale is invalid.", checked in that order.
class PreferencePageGraphics : public PreferencePage {
    Q_OBJECT
public:
    explicit PreferencePageGraphics(QWidget* parent = nullptr);
    ~PreferencePageGraphics() override;

    void save() override;
    bool validate() override;

private:
    void setupUi();
    void load();
    bool isAcceptable(const QLineEdit* edit) const;

    QDoubleValidator* m_validator;
    QLineEdit* m_minEdit;
    QLineEdit* m_maxEdit;
    QLineEdit* m_waterSurfaceEdit;
    QCheckBox* m_showTinEdgesCheckBox;
    QLineEdit* m_scaleEdit;
};

} // namespace varnel
