// The about box (template 100): the version, and buttons that open the distributor's mail
// address and web site.
#pragma once

#include "platform/Dialog.h"
#include "platform/Notification.h"

class CAboutDlg : public platform::Dialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    void OnCorreo();
    void OnWeb();

protected:
    bool OnInitDialog() override;

private:
    static const platform::NotifyRow<CAboutDlg> kNotifications[];
};
