#pragma once

#include <QWidget>

#include <memory>

class QMargins;
class QSize;

namespace varnel {

class ProjectProperty;

/// The form that shows and edits a project's property: the line "Coordinate System:" with
/// the current system's caption ("(Not specified)" without one) and an "Edit" button that
/// opens the coordinate-system selection dialog over the main window's catalogue.
///
/// A choice accepted there is set on the property at once (the property dialog has nothing
/// to accept); when it differs from the system before, the project is marked modified, so
/// that closing asks to save it. Cancelling the selection changes nothing.
///
/// Each project kind has its own widget, which differs only in its form's size and
/// margins. Made without a Qt parent; the property is borrowed and must outlive the widget.
class ProjectPropertyEditWidget : public QWidget {
    Q_OBJECT
public:
    explicit ProjectPropertyEditWidget(ProjectProperty* property);
    ~ProjectPropertyEditWidget() override;

    using QObject::property;

    ProjectProperty* property() const;

public slots:
    /// Runs the selection dialog modally and applies an accepted choice.
    void editCoordinateSystem();

protected:
    /// The form's texts, translated in the deriving widget's own context.
    struct Texts {
        QString windowTitle;
        QString coordinateSystem;
        QString edit;
        QString notSpecified;
    };

    /// Builds the form (once, from the deriving widget's constructor): the object name,
    /// unless one is set, the size, the grid's margins (the style's default without
    /// `margins`), then the label and the Edit button's connection.
    void setupForm(const QString& objectName, const QSize& size, const QMargins* margins,
                   const Texts& texts);
    void updateCoordinateSystemLabel();

private:
    struct Form;
    std::unique_ptr<Form> m_form;
    ProjectProperty* m_property;
};

} // namespace varnel
