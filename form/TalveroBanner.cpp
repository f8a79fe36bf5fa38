// The advertising banner on button 1008 and its link.
#include "form/TalveroDlg.h"
#include "platform/Links.h"
#include "resources/links/Enlaces.h"
#include "resources/pictures/Pictures.h"
#include "resources/templates/Recursos.h"

#include <QPixmap>

void CTalveroDlg::RefreshBanner() {
    m_pBannerBitmap = std::make_unique<QPixmap>(); // the previous picture goes with it
    m_Banner = 2;
    // A picture that does not load leaves the button showing its caption.
    m_pBannerBitmap->load(QString::fromLatin1(pictures::kBanner));
    m_hBanner = m_pBannerBitmap->isNull() ? nullptr : m_pBannerBitmap.get();
    if (m_BotonBanner)
        SetButtonPicture(res::IDC_BANNER, m_hBanner);
}

void CTalveroDlg::OnBanner() {
    // Only slot 2 is ever shown; it leads to the distributor's web site.
    std::string link;
    if (m_Banner == 2)
        link = enlaces::Banner();
    if (!link.empty())
        platform::OpenLink(link);
}
