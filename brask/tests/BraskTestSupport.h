#pragma once

// Small item classes and a project for the tests of the item tree: items that carry a
// bounding box and an optional external file, a model with a root item that writes its
// children recursively, a project with its own undo stack and a main window with a
// workspace.

#include "brask/core/Model.h"
#include "brask/core/ModelItem.h"
#include "brask/core/ModelItemController.h"
#include "brask/core/ModelItemView.h"
#include "brask/core/ModelRootItem.h"
#include "brask/proj/Project.h"
#include "brask/proj/ProjectFile.h"
#include "brask/proj/ProjectMainWindowI.h"
#include "brask/proj/ProjectWorkspace.h"
#include "brask/proj/VersionNumber.h"

#include <guimisc/xml/XmlSupport.h>

#include <QDomElement>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QXmlStreamWriter>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace brasktest {

/// An item with a settable own box and, when given a file name, a payload kept in its
/// external file. Its children are written as "Item" elements and read back in order into
/// the children it already has (the way the application's fixed trees load).
class TestItem : public mvc::core::ModelItem {
public:
    TestItem(const QString& caption, mvc::core::ModelItem* parent,
             int options = Deletable | Reorderable)
        : ModelItem(PaperIcon, caption, parent, options)
    {
    }
    /// A child of `parent` attached at its back the way loading does it.
    static TestItem* attachedTo(mvc::core::ModelItem* parent, const QString& caption,
                                int options = Deletable | Reorderable)
    {
        auto item = new TestItem(caption, nullptr, options);
        item->setParent(parent);
        parent->attachChildAtBack(item);
        return item;
    }

    using ModelItem::isAncientChecked;

    QRectF myBoundingBox() const override { return m_box; }
    void setBox(const QRectF& box) { m_box = box; }

    QByteArray payload;
    int loads = 0;
    int saves = 0;
    std::function<mvc::core::ModelItemView*(const TestItem*)> makeView;
    std::function<mvc::core::ModelItemController*(const TestItem*)> makeController;
    /// Run first when the item reads its element (an item filling its row in, say).
    std::function<void(const QDomElement&)> onLoad;

protected:
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override
    {
        writer->writeAttribute(QStringLiteral("caption"), caption());
        for (ModelItem* child : childItems()) {
            writer->writeStartElement(QStringLiteral("Item"));
            child->saveToProjectMainFile(writer);
            writer->writeEndElement();
        }
    }
    void doLoadFromProjectMainFile(const QDomElement& element) override
    {
        if (onLoad) {
            onLoad(element);
        }
        loadChildren(this, element);
    }
    void saveExternalData(const std::string& path) override;
    void loadExternalData(const std::string& path) override;
    mvc::core::ModelItemView* buildView() const override
    {
        return makeView ? makeView(this) : ModelItem::buildView();
    }
    mvc::core::ModelItemController* buildController() const override
    {
        return makeController ? makeController(this) : ModelItem::buildController();
    }

public:
    /// Loads the "Item" children of `element` into the children of `item`, in order.
    static void loadChildren(mvc::core::ModelItem* item, const QDomElement& element)
    {
        const auto& children = item->childItems();
        std::size_t i = 0;
        for (QDomElement e = element.firstChildElement(QStringLiteral("Item"));
             !e.isNull() && i < children.size();
             e = e.nextSiblingElement(QStringLiteral("Item")), ++i) {
            children[i]->loadFromProjectMainFile(e);
        }
    }

private:
    QRectF m_box;
};

class TestRootItem : public mvc::core::ModelRootItem {
public:
    explicit TestRootItem(mvc::core::Model* model) : ModelRootItem(model) {}

    /// A top-level item: entered in the list, its row appended to the item model.
    TestItem* addTopLevel(const QString& caption, int options = 0)
    {
        auto item = new TestItem(caption, nullptr, options);
        item->setParent(this);
        attachChildAtBack(item);
        qStandardItemModel()->appendRow(item->browserItem());
        return item;
    }

    using ModelRootItem::isAncientChecked;

protected:
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override
    {
        for (ModelItem* child : childItems()) {
            writer->writeStartElement(QStringLiteral("Item"));
            child->saveToProjectMainFile(writer);
            writer->writeEndElement();
        }
    }
    void doLoadFromProjectMainFile(const QDomElement& element) override
    {
        TestItem::loadChildren(this, element);
    }
};

class TestModel : public mvc::core::Model {
public:
    TestModel(mvc::core::ObjectBrowserView* browser = nullptr, mvc::core::View* view = nullptr,
              QMainWindow* window = nullptr, mvc::proj::ProjectItem* parent = nullptr)
        : Model(browser, view, window, parent)
    {
        setRootItem(new TestRootItem(this));
    }
    TestRootItem* root() const { return static_cast<TestRootItem*>(rootItem()); }
};

class TestMainWindow : public mvc::proj::ProjectMainWindowI {
public:
    explicit TestMainWindow(const QString& workspaceName = QStringLiteral("workspace"))
        : m_workspace(workspaceName, this)
    {
    }
    mvc::proj::ProjectWorkspace* workspace() override { return &m_workspace; }
    mvc::proj::VersionNumber versionNumber() const override { return {1, 2, 0, 0}; }
    QLocale locale() const override { return QLocale::c(); }
    void enterModelessDialogMode() override { ++modelessDepth; }
    void exitModelessDialogMode() override { --modelessDepth; }

    int modelessDepth = 0;

private:
    mvc::proj::ProjectWorkspace m_workspace;
};

/// The project file writes the frame and then the model's tree under "DataModel".
class TestProjectFile : public mvc::proj::ProjectFile {
public:
    using ProjectFile::ProjectFile;
    TestModel* model = nullptr;

    std::vector<std::string> containedFiles() const override
    {
        return model ? model->containedFiles() : std::vector<std::string>();
    }

protected:
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override
    {
        ProjectFile::doSaveToProjectMainFile(writer);
        if (model) {
            writer->writeStartElement(QStringLiteral("DataModel"));
            model->saveToProjectMainFile(writer);
            writer->writeEndElement();
        }
    }
    void doLoadFromProjectMainFile(const QDomElement& element) override
    {
        ProjectFile::doLoadFromProjectMainFile(element);
        const QDomElement data =
            guimisc::xml::XmlSupport::getChildNode(element, QStringLiteral("DataModel"));
        if (model && !data.isNull()) {
            model->loadFromProjectMainFile(data);
        }
    }
};

/// A project with its own undo stack and a model under its main file. Clears the stack
/// before the tree goes, as the application does.
class TestProject : public mvc::proj::Project {
public:
    TestProject(const QString& workFolder, mvc::proj::ProjectMainWindowI* window = nullptr,
                mvc::core::ObjectBrowserView* browser = nullptr, mvc::core::View* view = nullptr)
        : Project(new TestProjectFile(this), workFolder, window)
    {
        file()->model = new TestModel(browser, view, window, file());
    }
    ~TestProject() override { m_stack.clear(); }

    QUndoStack* undoStack() const override { return m_hasStack ? &m_stack : nullptr; }
    /// From here on the project hands out no stack.
    void dropStack() { m_hasStack = false; }
    TestProjectFile* file() const { return static_cast<TestProjectFile*>(mainfile()); }
    TestModel* model() const { return file()->model; }
    TestRootItem* root() const { return model()->root(); }

private:
    mutable QUndoStack m_stack;
    bool m_hasStack = true;
};

/// The bytes of a file; empty when it cannot be read.
QByteArray readFile(const QString& path);
/// Writes the whole file; false when it could not.
bool writeFile(const QString& path, const QByteArray& bytes);

/// Row texts of the children of a row (or of the item model's top level).
QStringList rowTexts(QStandardItem* row);
/// Captions of `childItems()`.
QStringList captions(const mvc::core::ModelItem* item);

} // namespace brasktest
