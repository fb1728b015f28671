// The decoded EDID beside the EDID dialog's hex view: a summary line first, then the fields
// of the EDID the view shows (read from an output, loaded from a file, about to be written),
// and where it is broken. It decodes whatever the view holds, so it never disagrees with it.
#pragma once

#include "protocol/EdidInfo.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QWidget>

class QLabel;
class QTextEdit;
class QTreeWidget;

class EdidDetailsPanel : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Width = 430;

    // One line of the panel: a field name and its values (several become rows of their own).
    struct Row {
        QString field;
        QStringList values;
    };

    explicit EdidDetailsPanel(QWidget *parent = nullptr);

    // Stands at the right edge of the frame, which grows by the panel's width.
    void PlaceBeside(QWidget *frame);
    // Shows the EDID of the view's text from now on, and at once.
    void FollowHexView(QTextEdit *hexView);
    // An empty EDID shows that there is none.
    void ShowEdid(const QByteArray &edid);

    QString SummaryText() const;
    // The fields in the order shown; those the EDID lacks are left out.
    static QList<Row> DetailRows(const EdidInfo &info);

    QLabel *titleLabel = nullptr;
    QLabel *summaryLabel = nullptr;
    QTreeWidget *detailsTree = nullptr;

private:
    void FillTree(const QList<Row> &rows);
};
