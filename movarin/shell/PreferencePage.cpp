#include "movarin/shell/PreferencePage.h"

namespace varnel {

PreferencePage::PreferencePage(QWidget* parent) : QWidget(parent) {}

PreferencePage::~PreferencePage() = default;

} // namespace varnel
