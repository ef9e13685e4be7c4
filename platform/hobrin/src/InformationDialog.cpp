#include "guimisc/dialog/InformationDialog.h"

#include "guimisc/UserDialogs.h"

namespace guimisc::dialog {

void InformationDialog::information(QWidget* parent, const QString& title,
                                    const QString& message, const QString& /*key*/)
{
    UserDialogs::information(parent, title, message, QMessageBox::Ok);
}

} // namespace guimisc::dialog
