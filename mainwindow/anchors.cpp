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

void AnchorLayout::Apply() const {
    for (const Entry& e : entries_) {
        const QSize parent = e.child->parentWidget()->size();
        e.child->setGeometry(AnchoredGeometry(e.design, e.anchors, e.designParent, parent));
    }
}
