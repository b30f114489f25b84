// Keeps child widgets at their designed distances from the edges of their parent they are
// anchored to, as the window is resized: anchored to both left and right a widget stretches,
// to the right alone it moves along; likewise for top and bottom.
#pragma once

#include <QRect>
#include <QSize>
#include <Qt>

#include <vector>

class QWidget;

// Where a child designed at `design` inside a parent of designParent goes when the parent has
// become `parent`, for the given anchors (Qt::LeftEdge | Qt::TopEdge | ...). Without either
// horizontal anchor the child keeps its designed position relative to the parent's centre;
// likewise vertically.
QRect AnchoredGeometry(const QRect& design, Qt::Edges anchors, QSize designParent, QSize parent);

class AnchorLayout {
public:
    // Records the child's present geometry and its parent's present size as the design.
    // Children are laid out in the order they were added, so add a container before the
    // children it holds.
    void Add(QWidget* child, Qt::Edges anchors);
    // Puts every recorded child where its anchors say for its parent's present size.
    void Apply() const;

    // Where a child would be with the window (the top-level parent of the recorded children)
    // at windowSize; a child not recorded keeps its present geometry.
    QRect GeometryAt(const QWidget* child, QSize windowSize) const;
    // Whether at windowSize every child of the window and of its recorded containers still lies
    // inside its parent, and stays apart from each sibling it is apart from at the design size.
    bool KeepsApart(const QWidget* window, QSize windowSize) const;

private:
    QSize ParentSizeAt(const QWidget* parent, QSize windowSize) const;
    QRect DesignGeometry(const QWidget* child) const;

    struct Entry {
        QWidget* child;
        Qt::Edges anchors;
        QRect design;
        QSize designParent;
    };
    std::vector<Entry> entries_;
};
