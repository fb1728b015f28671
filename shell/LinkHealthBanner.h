// A slim bar under the main window's tabs, above every page, shown while no link is open
// after one was lost: what the pages show is then the last known state, not live. It names
// the local time the link was lost and goes when a synchronisation ends ("Sync Over!").
#pragma once

#include <QDateTime>
#include <QLabel>

class QStackedWidget;
class QTabWidget;

class LinkHealthBanner : public QLabel
{
    Q_OBJECT
public:
    static constexpr int BannerHeight = 26;

    // Lives in the tab widget's page area, which it shifts down while shown.
    explicit LinkHealthBanner(QTabWidget *tabWidget);

    // Shows the bar; while it is shown the first loss is kept, as the values are stale
    // since then.
    void ShowLinkLost(const QDateTime &lostAt);
    void HideLinkLost();
    bool IsShowingLinkLost() const { return m_lostAt.isValid(); }
    QDateTime lostAt() const { return m_lostAt; }
    void Retranslate();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FitToPageArea();

    QStackedWidget *m_pageArea = nullptr;
    QDateTime m_lostAt;
};
