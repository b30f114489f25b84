#include "anchors.h"

#include <QWidget>

#include <algorithm>

namespace {

// One axis: position and length of the child, length of the parent, design and now.
void Follow(bool nearEdge, bool farEdge, int& pos, int& length, int designParent, int parent) {
    const int grown = parent - designParent;
    if (nearEdge && farEdge) {
        length += grown;
    } else if (farEdge) {
        pos += grown;
    } else if (!nearEdge) {
        pos += grown / 2;
    }
}

} // namespace

QRect AnchoredGeometry(const QRect& design, Qt::Edges anchors, QSize designParent, QSize parent) {
    int x = design.x();
    int y = design.y();
    int w = design.width();
    int h = design.height();
    Follow(anchors.testFlag(Qt::LeftEdge), anchors.testFlag(Qt::RightEdge), x, w,
           designParent.width(), parent.width());
    Follow(anchors.testFlag(Qt::TopEdge), anchors.testFlag(Qt::BottomEdge), y, h,
           designParent.height(), parent.height());
    return QRect(x, y, std::max(w, 0), std::max(h, 0));
}

void AnchorLayout::Add(QWidget* child, Qt::Edges anchors) {
    if (child == nullptr || child->parentWidget() == nullptr) {
        return;
    }
    entries_.push_back(Entry{child, anchors, child->geometry(), child->parentWidget()->size()});
}

QSize AnchorLayout::ParentSizeAt(const QWidget* parent, QSize windowSize) const {
    return parent->isWindow() ? windowSize : GeometryAt(parent, windowSize).size();
}

QRect AnchorLayout::GeometryAt(const QWidget* child, QSize windowSize) const {
    for (const Entry& e : entries_) {
        if (e.child == child) {
            return AnchoredGeometry(e.design, e.anchors, e.designParent,
                                    ParentSizeAt(child->parentWidget(), windowSize));
        }
    }
    return child->geometry();
}

QRect AnchorLayout::DesignGeometry(const QWidget* child) const {
    for (const Entry& e : entries_) {
        if (e.child == child) {
            return e.design;
        }
    }
    return child->geometry();
}

bool AnchorLayout::KeepsApart(const QWidget* window, QSize windowSize) const {
    if (entries_.empty()) {
        return true;
    }
    QSize designWindow;
    std::vector<const QWidget*> containers = {window};
    for (const Entry& e : entries_) {
        if (e.child->parentWidget() == window) {
            designWindow = e.designParent;
        } else if (std::find(containers.begin(), containers.end(), e.child->parentWidget()) ==
                   containers.end()) {
            containers.push_back(e.child->parentWidget());
        }
    }
    for (const QWidget* parent : containers) {
        const QRect designArea(QPoint(0, 0),
                               parent == window ? designWindow : DesignGeometry(parent).size());
        const QRect area(QPoint(0, 0), ParentSizeAt(parent, windowSize));
        std::vector<std::pair<QRect, QRect>> children; // design, at windowSize
        for (const QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isWindow() || child->objectName().startsWith(QLatin1String("qt_"))) {
                continue;
            }
            children.emplace_back(DesignGeometry(child), GeometryAt(child, windowSize));
        }
        for (size_t i = 0; i < children.size(); ++i) {
            const auto& [design, now] = children[i];
            if (designArea.contains(design) && !area.contains(now)) {
                return false;
            }
            for (size_t j = i + 1; j < children.size(); ++j) {
                if (!design.intersects(children[j].first) && now.intersects(children[j].second)) {
                    return false;
                }
            }
        }
    }
    return true;
}

void AnchorLayout::Apply() const {
    for (const Entry& e : entries_) {
        const QSize parent = e.child->parentWidget()->size();
        e.child->setGeometry(AnchoredGeometry(e.design, e.anchors, e.designParent, parent));
    }
}
