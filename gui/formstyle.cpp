#include "gui/formstyle.h"

#include "gui/helpviewer.h"

#include <QFont>
#include <QKeySequence>
#include <QPalette>
#include <QShortcut>
#include <QWidget>

void UsePixelFont(QWidget* widget, int pixels, const QString& family) {
    QFont font = widget->font();
    font.setFamily(family);
    font.setPixelSize(pixels);
    widget->setFont(font);
}

void AddHelpKey(QWidget* window, int helpContext) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F1), window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window,
                     [helpContext] { ShowHelpTopic(helpContext); });
}

void KeepSelectionVisible(QWidget* view) {
    QPalette palette = view->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    view->setPalette(palette);
}
