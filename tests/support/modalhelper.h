#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

// Runs act on the next modal window to appear (polling, since it appears only once exec()
// has started); gives up after two seconds so a test cannot hang on a box that never opens.
template <typename Modal> void WhenModal(std::function<void(Modal*)> act) {
    auto timer = std::make_shared<QTimer>();
    auto tries = std::make_shared<int>(0);
    timer->setInterval(10);
    QObject::connect(timer.get(), &QTimer::timeout, [timer, tries, act] {
        auto* modal = qobject_cast<Modal*>(QApplication::activeModalWidget());
        if (!modal && ++*tries < 200)
            return;
        timer->stop();
        if (modal)
            act(modal);
        timer->disconnect();
    });
    timer->start();
}
