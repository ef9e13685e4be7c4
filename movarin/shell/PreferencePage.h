#pragma once

#include <QWidget>

namespace varnel {

/// One page of the preference dialog: it shows the stored values of its settings keys
/// (read when the page is made), checks what the user entered and writes it back.
///
/// The dialog validates every page before it saves any, so `save()` runs only after
/// `validate()` of every page returned true.
class PreferencePage : public QWidget {
    Q_OBJECT
public:
    explicit PreferencePage(QWidget* parent = nullptr);
    ~PreferencePage() override;

    /// Writes the page's keys to the settings store.
    virtual void save() = 0;
    /// Whether the fields are acceptable; when not, the page has shown its own message.
    virtual bool validate() = 0;
};

} // namespace varnel
