// The small window that shows how far a dictionary load has come. The main window shows it
// (modeless, itself disabled) while the word index is rebuilt, and the load moves its bar.
#pragma once

#include "dictionary/loadprogress.h"

#include <QWidget>

#include <QPointer>

#include <memory>

namespace Ui {
class TDictionaryLoading;
}

class TDictionaryLoading : public QWidget, public LoadProgress {
    Q_OBJECT
public:
    explicit TDictionaryLoading(QWidget* parent = nullptr);
    ~TDictionaryLoading() override;

    // The window the loading window centres itself on (the main window registers itself);
    // without one, or while it is hidden, the screen.
    static void CentreOn(QWidget* window);

    // The load starts: the bar spans the words to come and stands at 0; the window paints.
    void Begin(int32_t total) override;
    // Every 256 words: the bar moves on to the words added so far, and the window paints.
    void Advance(int32_t count) override;

    int Minimum() const;
    int Maximum() const;
    int Position() const;

protected:
    // Centred on the main window at every showing.
    void showEvent(QShowEvent* event) override;
    // Only the game closes the window, when the load is done.
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<Ui::TDictionaryLoading> ui;
};

extern TDictionaryLoading* DictionaryLoading;
