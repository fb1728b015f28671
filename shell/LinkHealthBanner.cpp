#include "shell/LinkHealthBanner.h"

#include "settings/LanguageTexts.h"

#include <QEvent>
#include <QStackedWidget>
#include <QTabWidget>

namespace {

// The tab widget's own stack of pages, which lies right under the tab bar.
QStackedWidget *PageAreaOf(QTabWidget *tabWidget)
{
    return tabWidget->findChild<QStackedWidget *>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace

LinkHealthBanner::LinkHealthBanner(QTabWidget *tabWidget)
    : QLabel(PageAreaOf(tabWidget) ? static_cast<QWidget *>(PageAreaOf(tabWidget)) : tabWidget)
    , m_pageArea(PageAreaOf(tabWidget))
{
    setObjectName(QStringLiteral("LinkHealthBanner"));
    setStyleSheet(QStringLiteral("QLabel#LinkHealthBanner { background-color: #8a5a00; color: #ffffff;"
                                 " font-weight: bold; padding-left: 10px; }"));
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    hide();
    if (m_pageArea)
        m_pageArea->installEventFilter(this);
}

void LinkHealthBanner::ShowLinkLost(const QDateTime &lostAt)
{
    if (!m_lostAt.isValid())
        m_lostAt = lostAt;
    Retranslate();
    if (m_pageArea)
        m_pageArea->setContentsMargins(0, BannerHeight, 0, 0);
    FitToPageArea();
    show();
    raise();
}

void LinkHealthBanner::HideLinkLost()
{
    m_lostAt = QDateTime();
    hide();
    if (m_pageArea)
        m_pageArea->setContentsMargins(0, 0, 0, 0);
}

void LinkHealthBanner::Retranslate()
{
    if (m_lostAt.isValid())
        setText(Slabel_LinkOffline + m_lostAt.toString(QStringLiteral("HH:mm:ss")));
}

bool LinkHealthBanner::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pageArea && event->type() == QEvent::Resize)
        FitToPageArea();
    return QLabel::eventFilter(watched, event);
}

void LinkHealthBanner::FitToPageArea()
{
    if (m_pageArea)
        setGeometry(0, 0, m_pageArea->width(), BannerHeight);
}
