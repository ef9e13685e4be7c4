#pragma once

#include "brask/core/ModelRootItem.h"

#include <initializer_list>
#include <vector>

class QDomElement;
class QString;
class QXmlStreamWriter;

namespace varnel {

/// The root of a project window's item tree with a fixed table of children, made by the
/// deriving root's constructor and never replaced (the root owns them as its children).
/// The table fixes three orders: the children's (creation), the browser rows' and the
/// painting order, which is not the reverse child order that other items paint in.
///
/// The deriving root enters each child with `attachFixedChild` in child order, then places
/// the rows with `appendBrowserRows`; it writes and reads each child inside an element of
/// its own with `saveChild` and `loadChild`.
class ProjectModelRootItem : public mvc::core::ModelRootItem {
    Q_OBJECT
public:
    ~ProjectModelRootItem() override;

    /// The children in painting order, first painted lowest.
    virtual std::vector<mvc::core::ModelItem*> paintingOrder() const = 0;

protected:
    explicit ProjectModelRootItem(mvc::core::Model* model);

    /// Enters a child made with the root as parent into the root's list of children.
    template <class Item>
    Item* attachFixedChild(Item* child)
    {
        attachChildAtBack(child);
        return child;
    }
    /// Appends the children's rows as top-level rows in the given order and rebuilds the
    /// map from rows to items.
    void appendBrowserRows(std::initializer_list<mvc::core::ModelItem*> children);

    /// The child's load from `element`; nothing for a null element.
    static void loadChild(mvc::core::ModelItem* child, const QDomElement& element);
    /// The child's save inside a new element named `tag`.
    static void saveChild(mvc::core::ModelItem* child, const QString& tag,
                          QXmlStreamWriter* writer);
    /// The background images' element of "DataModel": "BackgroundImageGroup", or
    /// "BackgroundImages" (the name of earlier versions) when that is absent; null when
    /// neither is there.
    static QDomElement backgroundImagesElement(const QDomElement& dataModel);
};

} // namespace varnel
