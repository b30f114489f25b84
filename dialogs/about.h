#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TAboutBox;
}

// The About box: the program's icon, name and version, and two links, the support email
// address and the home page. The links are edit boxes, so the address shown is the address
// used; a click hands it to the mail program or the web browser and the box stays open.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 70;

    explicit TAboutBox(QWidget* parent = nullptr);
    ~TAboutBox() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void MailSupportLinkChange();
    void HomePageLinkChange();

    std::unique_ptr<Ui::TAboutBox> ui;
};

extern TAboutBox* AboutBox;
