#include "pages/MyTableWidget.h"

#include "pages/WallCellDelegate.h"

#include "protocol/DeviceState.h"
#include "settings/LanguageTexts.h"
#include "settings/SettingsTexts.h"
#include "shell/MessageBoxes.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QtMath>

namespace {

constexpr int DefaultCellSize = 100;
// The frame of a group lies this far inside its outer cells; a single-exit frame this far
// inside its cell.
constexpr int SpliceFrameInset = 3;
constexpr int ExitFrameInset = 9;
constexpr int ColourParts = 4;
constexpr int MaxColourPart = 255;
const QColor BandColour(255, 255, 0, 255);

const QString *ModeNames[] = { &SpushButton_Single, &SpushButton_PIP, &SpushButton_PBP, &SpushButton_3xWIN,
    &SpushButton_4xWIN };
constexpr quint32 ModeCount = 5;

QString ModeName(quint32 mode)
{
    return mode < ModeCount ? *ModeNames[mode] : QStringLiteral("error!!!");
}

} // namespace

MyTableWidget::MyTableWidget(QWidget *parent)
    : QTableWidget(parent)
    , m_editor([this] { emit SGL_UpdateEmit(); })
{
    horizontalHeader()->setVisible(false);
    verticalHeader()->setVisible(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAutoScroll(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setFrameShape(QFrame::NoFrame);
    viewport()->setContextMenuPolicy(Qt::CustomContextMenu);
    horizontalHeader()->setDefaultSectionSize(DefaultCellSize);
    verticalHeader()->setDefaultSectionSize(DefaultCellSize);
    setItemDelegate(new WallCellDelegate(this));
    setMouseTracking(true);
    loadColours();
    connect(this, &QTableWidget::cellClicked, this, &MyTableWidget::SLT_ItemClicked);
    connect(viewport(), &QWidget::customContextMenuRequested, this, &MyTableWidget::SLT_ShowContextMenu);
    connect(&m_editor, &WallEditor::SGL_WallChanged, this, &MyTableWidget::showEditorWall);
}

MyTableWidget::~MyTableWidget()
{
    delete m_menu;
}

QColor MyTableWidget::SettingColour(const QString &text, const QColor &fallback)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != ColourParts)
        return fallback;
    int values[ColourParts] = {};
    for (int k = 0; k < ColourParts; ++k) {
        for (const QChar c : parts.at(k)) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                continue;
            values[k] = values[k] * 10 + (c.unicode() - '0');
            if (values[k] > MaxColourPart)
                return fallback;
        }
    }
    return QColor(values[0], values[1], values[2], values[3]);
}

void MyTableWidget::loadColours()
{
    m_defaultBg = SettingColour(SItem_Default_BG, QColor(128, 128, 128, 255));
    m_defaultFg = SettingColour(SItem_Default_FG, QColor(255, 0, 0, 255));
    m_splicingBg = SettingColour(SItem_Splicing_BG, QColor(0, 255, 0, 255));
    m_splicingFg = SettingColour(SItem_Splicing_FG, QColor(255, 255, 0, 255));
    m_frame = SettingColour(SItem_Splicing_Frame, QColor(0, 0, 255, 255));
    m_frameHighlight = SettingColour(SItem_Splicing_HighLight, QColor(255, 0, 0, 255));
    m_exitFrame = SettingColour(SItem_Splicing_SingleExit_Frame, QColor(0, 255, 255, 255));
    m_exitHighlight = SettingColour(SItem_Splicing_SingleExit_HighLight, QColor(255, 0, 0, 255));
}

void MyTableWidget::Rebuild(quint32 rows, quint32 columns, bool keep)
{
    if (rows == 0 || columns == 0)
        return;
    if (!keep) {
        m_bandHidden = true;
        m_selectedSplice = m_selectedExit = -1;
        emit SGL_EnableBezel(false);
        // The editor announces the wall being written; the grid follows that notice.
        tellOutcome(m_editor.writeSize(rows, columns));
        return;
    }
    showEditorWall();
}

void MyTableWidget::showEditorWall()
{
    const quint32 rows = m_editor.rows();
    const quint32 columns = m_editor.cols();
    if (rows == 0 || columns == 0)
        return;
    if (!m_built || rows != m_rows || columns != m_columns) {
        // Another wall: a band drawn over the old one selects nothing on it.
        m_bandHidden = true;
        m_rows = rows;
        m_columns = columns;
        clear();
        setRowCount(int(rows));
        setColumnCount(int(columns));
        const quint32 total = qMin(rows * columns, MaxPorts);
        for (quint32 cell = 0; cell < total; ++cell) {
            auto *item = new QTableWidgetItem(QString::number(cell + 1));
            item->setTextAlignment(Qt::AlignCenter);
            setItem(int(cell / columns), int(cell % columns), item);
        }
        m_built = true;
    }
    layOutCells();
    refreshItems();
    // Keep the selected cell's group selected when it is still one.
    if (m_selectedSplice != -1) {
        m_selectedSplice = m_currentCell < m_editor.total() ? m_editor.groupOfCell(m_currentCell) : -1;
        m_selectedExit = m_selectedSplice != -1 ? m_editor.exitOfCell(m_currentCell) : -1;
        if (m_selectedSplice == -1)
            emit SGL_EnableBezel(false);
    }
}

void MyTableWidget::layOutCells()
{
    if (!m_built)
        return;
    m_cellWidth = viewport()->width() / int(m_columns);
    m_cellHeight = viewport()->height() / int(m_rows);
    for (quint32 column = 0; column < m_columns; ++column)
        setColumnWidth(int(column), m_cellWidth);
    for (quint32 row = 0; row < m_rows; ++row)
        setRowHeight(int(row), m_cellHeight);
}

QRect MyTableWidget::cellRect(quint32 cell) const
{
    const quint32 columns = qMax(1u, m_columns);
    return QRect(int(cell % columns) * m_cellWidth, int(cell / columns) * m_cellHeight, m_cellWidth, m_cellHeight);
}

QVector<QRect> MyTableWidget::spliceFrames() const
{
    QVector<QRect> frames;
    for (const WallBlock &block : m_editor.groups()) {
        const QRect tl = cellRect(block.top * m_columns + block.left);
        const QRect br = cellRect(block.bottom * m_columns + block.right);
        const int x = tl.x() + SpliceFrameInset;
        const int y = tl.y() + SpliceFrameInset;
        frames.append(QRect(x, y, qAbs(br.x() + br.width() - SpliceFrameInset - x),
            qAbs(br.y() + br.height() - SpliceFrameInset - y)));
    }
    return frames;
}

QVector<QRect> MyTableWidget::exitFrames() const
{
    QVector<QRect> frames;
    for (quint32 cell : m_editor.exitCells())
        frames.append(cellRect(cell).adjusted(ExitFrameInset, ExitFrameInset, -ExitFrameInset, -ExitFrameInset));
    return frames;
}

WallBlock MyTableWidget::bandCells() const
{
    if (m_bandHidden || !m_built)
        return WallBlock();
    const int cellWidth = qMax(1, m_cellWidth);
    const int cellHeight = qMax(1, m_cellHeight);
    const auto cellOf = [](qreal coordinate, int size, quint32 count) {
        return qMin(quint32(qMax(0, qFloor(coordinate + 0.5) / size)), count - 1);
    };
    WallBlock block;
    block.top = cellOf(m_band.y(), cellHeight, m_rows);
    block.bottom = cellOf(m_band.y() + m_band.height(), cellHeight, m_rows);
    block.left = cellOf(m_band.x(), cellWidth, m_columns);
    block.right = cellOf(m_band.x() + m_band.width(), cellWidth, m_columns);
    return block;
}

void MyTableWidget::ShowDeviceWall()
{
    m_editor.showModel();
}

void MyTableWidget::RefreshCells()
{
    if (m_built)
        refreshItems();
}

void MyTableWidget::refreshItems()
{
    const quint32 columns = m_columns;
    const quint32 total = qMin(m_editor.total(), m_rows * m_columns);
    for (quint32 cell = 0; cell < total && columns > 0; ++cell) {
        QTableWidgetItem *cellItem = item(int(cell / columns), int(cell % columns));
        if (!cellItem)
            continue;
        const bool inGroup = m_editor.groupOfCell(cell) >= 0 && !m_editor.screenOfCell(cell).singleExit;
        cellItem->setFlags(inGroup ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        cellItem->setBackground(inGroup ? m_splicingBg : m_defaultBg);
        cellItem->setForeground(inGroup ? m_splicingFg : m_defaultFg);
        cellItem->setData(WallCellDelegate::CaptionRole, S_OutputName[ClampSlot(m_editor.outputOfCell(cell))]);
    }
    viewport()->update();
}

QPoint MyTableWidget::clampedToViewport(const QPointF &point) const
{
    const int x = qBound(0, qFloor(point.x() + 0.5), qMax(0, viewport()->width() - 1));
    const int y = qBound(0, qFloor(point.y() + 0.5), qMax(0, viewport()->height() - 1));
    return QPoint(x, y);
}

void MyTableWidget::storeBand()
{
    // The band spans the distance between the points (a plain click gives size 0).
    m_band = QRectF(qMin(m_dragStart.x(), m_dragEnd.x()), qMin(m_dragStart.y(), m_dragEnd.y()),
        qAbs(m_dragEnd.x() - m_dragStart.x()), qAbs(m_dragEnd.y() - m_dragStart.y()));
    m_bandHidden = false;
    viewport()->update();
}

bool MyTableWidget::bandDrawn() const
{
    return !m_bandHidden && m_band.width() > BandDrawMinimum && m_band.height() > BandDrawMinimum;
}

void MyTableWidget::mousePressEvent(QMouseEvent *event)
{
    if (!m_built)
        return;
    if (event->button() == Qt::LeftButton) {
        m_dragStart = m_dragEnd = clampedToViewport(event->localPos());
        m_bandHidden = true;
        m_dragging = true;
    } else if (event->button() == Qt::RightButton && !m_dragging) {
        const quint32 columns = m_columns;
        const quint32 rows = m_rows;
        const int cellWidth = qMax(1, viewport()->width() / int(columns));
        const int cellHeight = qMax(1, viewport()->height() / int(rows));
        const QPoint point = clampedToViewport(event->localPos());
        const int column = qMin(point.x() / cellWidth, int(columns) - 1);
        const int row = qMin(point.y() / cellHeight, int(rows) - 1);
        emit cellClicked(row, column);
        BuildContextMenu(quint32(row) * columns + quint32(column));
    }
    QTableWidget::mousePressEvent(event);
}

void MyTableWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_built)
        return;
    if (m_dragging) {
        m_dragEnd = clampedToViewport(event->localPos());
        storeBand();
    }
    QTableWidget::mouseMoveEvent(event);
}

void MyTableWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_built)
        return;
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragEnd = clampedToViewport(event->localPos());
        m_dragging = false;
        storeBand();
    }
    QTableWidget::mouseReleaseEvent(event);
}

void MyTableWidget::paintEvent(QPaintEvent *event)
{
    QTableWidget::paintEvent(event);
    QPainter painter(viewport());
    painter.setBrush(Qt::NoBrush);
    if (bandDrawn()) {
        painter.setPen(QPen(BandColour, 2, Qt::DashLine, Qt::SquareCap, Qt::BevelJoin));
        painter.drawRect(m_band);
    }
    const QVector<QRect> frames = spliceFrames();
    for (int k = 0; k < frames.size(); ++k) {
        painter.setPen(QPen(k == m_selectedSplice ? m_frameHighlight : m_frame, 4, Qt::SolidLine));
        painter.drawRect(frames.at(k));
    }
    const QVector<QRect> exits = exitFrames();
    for (int k = 0; k < exits.size(); ++k) {
        painter.setPen(QPen(k == m_selectedExit ? m_exitHighlight : m_exitFrame, 2, Qt::DotLine));
        painter.drawRect(exits.at(k));
    }
}

void MyTableWidget::contextMenuEvent(QContextMenuEvent *event)
{
    // The table takes the viewport's context menu events itself; pass them on as the
    // viewport's request, in viewport pixels (the grid has no headers and no frame).
    emit viewport()->customContextMenuRequested(event->pos());
}

void MyTableWidget::resizeEvent(QResizeEvent *event)
{
    QTableWidget::resizeEvent(event);
    // The cells follow the viewport; the wall itself does not change.
    if (m_built) {
        layOutCells();
        viewport()->update();
    }
}

QString MyTableWidget::CellToolTip(quint32 cell) const
{
    const WallEntry &screen = m_editor.screenOfCell(cell);
    const QString line = QStringLiteral("%1 -> %2 \r\n");
    const QString edge = QStringLiteral("%1 -> %2 %3 \r\n");
    QString text = QStringLiteral("%1: \r\n").arg(cell + 1);
    text += line.arg(SMenu_ScreenSplicing, screen.spliced ? QStringLiteral("Yes") : QStringLiteral("No"));
    text += line.arg(SMenu_InputSelect).arg(screen.inputIndex + 1);
    text += line.arg(SMenu_OutputSelect).arg(m_editor.outputOfCell(cell) + 1);
    text += line.arg(SMenu_Multiview, ModeName(MultiviewOf(m_editor.outputOfCell(cell)).mode));
    text += QStringLiteral("\r\n%1 -> %2 %3 \r\n").arg(Slabel_EdgeLeft).arg(screen.edgeLeft).arg(S_Pixel);
    text += edge.arg(Slabel_EdgeRight).arg(screen.edgeRight).arg(S_Pixel);
    text += edge.arg(Slabel_EdgeUp).arg(screen.edgeUp).arg(S_Pixel);
    text += QStringLiteral("%1 -> %2 %3").arg(Slabel_EdgeBottom).arg(screen.edgeBottom).arg(S_Pixel);
    return text;
}

void MyTableWidget::selectCell(quint32 cell)
{
    m_currentCell = cell;
    m_selectedSplice = m_editor.groupOfCell(cell);
    m_selectedExit = m_editor.exitOfCell(cell);
    emit SGL_EnableBezel(m_selectedSplice != -1);
    viewport()->update();
}

void MyTableWidget::SLT_ItemClicked(int row, int column)
{
    const quint32 cell = quint32(row) * m_columns + quint32(column);
    selectCell(cell);
    m_lastToolTip = CellToolTip(cell);
    QToolTip::showText(QCursor::pos(), m_lastToolTip, this);
}

QMenu *MyTableWidget::BuildContextMenu(quint32 cell)
{
    delete m_menu;
    m_menu = new QMenu(this);
    const WallEntry &screen = m_editor.screenOfCell(cell);
    const bool spliced = screen.spliced;

    QAction *splicing = m_menu->addAction(SMenu_ScreenSplicing);
    splicing->setObjectName(QStringLiteral("TvWallMenu-ScreenSplicing"));
    splicing->setCheckable(true);
    splicing->setChecked(spliced);
    splicing->setEnabled(bandCells().coversMoreThanOneCell() && !spliced);
    connect(splicing, &QAction::triggered, this, &MyTableWidget::SLT_ScreenSplicing);

    QAction *cancel = m_menu->addAction(SMenu_CancelSplicing);
    cancel->setObjectName(QStringLiteral("TvWallMenu-CancelSplicing"));
    cancel->setEnabled(spliced);
    connect(cancel, &QAction::triggered, this, &MyTableWidget::SLT_CancelSplicing);

    QAction *single = m_menu->addAction(QStringLiteral("%1 - %2").arg(cell + 1).arg(SMenu_CancelSplicing));
    single->setObjectName(QStringLiteral("TvWallMenu-SingleCancelSplicing"));
    single->setCheckable(true);
    single->setChecked(screen.singleExit);
    single->setEnabled(spliced);
    connect(single, &QAction::triggered, this, &MyTableWidget::SLT_SingleCancelSplicing);

    m_menu->addSeparator();
    addInputMenu(m_menu, cell, spliced);
    addOutputMenu(m_menu, cell, spliced);
    m_menu->addSeparator();
    addMultiviewMenu(m_menu, cell, spliced);
    m_menu->addSeparator();

    QAction *syncLock = m_menu->addAction(SMenu_SyncLock);
    syncLock->setObjectName(QStringLiteral("TvWallMenu-SyncLock"));
    syncLock->setEnabled(false);
    connect(syncLock, &QAction::triggered, this, &MyTableWidget::SLT_SyncLock);
    return m_menu;
}

void MyTableWidget::addInputMenu(QMenu *menu, quint32 cell, bool spliced)
{
    QMenu *inputs = menu->addMenu(SMenu_InputSelect);
    inputs->setObjectName(QStringLiteral("TvWallMenu-InputSelect"));
    inputs->setEnabled(spliced);
    if (!spliced)
        return;
    const quint32 current = m_editor.screenOfCell(cell).inputIndex;
    for (quint32 i = 0; i < qMin(DeviceState.inputCount, MaxPorts); ++i) {
        QAction *entry = inputs->addAction(S_InputName[i]);
        entry->setObjectName(QStringLiteral("%1-%2").arg(S_Input).arg(i + 1));
        entry->setCheckable(true);
        entry->setChecked(current == i);
        connect(entry, &QAction::triggered, this, &MyTableWidget::SLT_CurInputSelect);
    }
}

void MyTableWidget::addOutputMenu(QMenu *menu, quint32 cell, bool spliced)
{
    QMenu *outputs = menu->addMenu(SMenu_OutputSelect);
    outputs->setObjectName(QStringLiteral("TvWallMenu-OutputSelect"));
    const quint32 current = m_editor.outputOfCell(cell);
    for (quint32 j = 0; j < qMin(DeviceState.outputCount, MaxPorts); ++j) {
        QAction *entry = outputs->addAction(S_OutputName[j]);
        entry->setObjectName(QStringLiteral("%1-%2").arg(S_OutPut).arg(j + 1));
        entry->setCheckable(true);
        entry->setChecked(current == j);
        // An output shown in a group cannot swap places with a free screen.
        const int shownIn = m_editor.cellShowingOutput(j);
        const bool inGroup = shownIn >= 0 && m_editor.screenOfCell(quint32(shownIn)).spliced;
        entry->setEnabled(!spliced && !inGroup);
        connect(entry, &QAction::triggered, this, &MyTableWidget::SLT_CurOutputSelect);
    }
}

void MyTableWidget::addMultiviewMenu(QMenu *menu, quint32 cell, bool spliced)
{
    QMenu *modes = menu->addMenu(SMenu_Multiview);
    modes->setObjectName(QStringLiteral("TvWallMenu-Multiview"));
    modes->setEnabled(!spliced);
    if (spliced)
        return;
    const quint32 current = MultiviewOf(m_editor.outputOfCell(cell)).mode;
    for (quint32 k = 0; k < ModeCount; ++k) {
        QAction *entry = modes->addAction(ModeName(k));
        entry->setObjectName(ModeName(k));
        entry->setCheckable(true);
        entry->setChecked(current == k);
        connect(entry, &QAction::triggered, this, &MyTableWidget::SLT_CurMultiview);
    }
}

QMenu *MyTableWidget::contextMenu() const
{
    return m_menu;
}

void MyTableWidget::SLT_ShowContextMenu(const QPoint &pos)
{
    if (!m_built)
        return;
    if (!m_menu)
        BuildContextMenu(m_currentCell);
    // popup, not exec: the menu never blocks the event loop that the link replies need.
    m_menu->popup(viewport()->mapToGlobal(pos));
}

quint32 MyTableWidget::senderNumber(const QString &prefix) const
{
    const QString name = sender() ? sender()->objectName() : QString();
    const QString head = prefix + QLatin1Char('-');
    return name.startsWith(head) ? name.mid(head.size()).toUInt() : 0;
}

void MyTableWidget::tellOutcome(WallEditor::Outcome outcome)
{
    switch (outcome) {
    case WallEditor::Outcome::NotConnected:
        MessageBoxOk(SMSG_WallNotConnected, this);
        break;
    case WallEditor::Outcome::ReachesIntoGroup:
        MessageBoxOk(SMSG_WallSpliceIntoGroup, this);
        break;
    default:
        break;
    }
}

void MyTableWidget::SLT_ScreenSplicing(bool checked)
{
    Q_UNUSED(checked)
    const WallEditor::SpliceResult result = m_editor.splice(bandCells());
    switch (result.outcome) {
    case WallEditor::Outcome::Done:
        // The band has done its work; the group's frame shows the block now.
        m_bandHidden = true;
        viewport()->update();
        break;
    case WallEditor::Outcome::NotSingle:
        MessageBoxOk(
            QStringLiteral("%1-%2 -> %3").arg(S_Port).arg(result.output + 1).arg(SMSG_PortMultiview_Fail), this);
        break;
    case WallEditor::Outcome::NothingToDo:
        MessageBoxOk(SMSG_WallSpliceNothing, this);
        break;
    default:
        // The band stays, so the operator can try again once the cause is gone.
        tellOutcome(result.outcome);
        break;
    }
}

void MyTableWidget::SLT_CancelSplicing(bool checked)
{
    Q_UNUSED(checked)
    if (m_selectedSplice == -1)
        return;
    const WallEditor::Outcome outcome = m_editor.cancelGroup(m_currentCell);
    if (outcome == WallEditor::Outcome::Done) {
        m_selectedSplice = m_selectedExit = -1;
        emit SGL_EnableBezel(false);
        viewport()->update();
    }
    tellOutcome(outcome);
}

void MyTableWidget::SLT_SingleCancelSplicing(bool checked)
{
    Q_UNUSED(checked)
    if (m_selectedSplice == -1)
        return;
    tellOutcome(m_editor.toggleSingleExit(m_currentCell));
    m_selectedExit = m_editor.exitOfCell(m_currentCell);
}

void MyTableWidget::SLT_CurInputSelect(bool checked)
{
    Q_UNUSED(checked)
    const quint32 number = senderNumber(S_Input);
    if (m_selectedSplice == -1 || number == 0)
        return;
    tellOutcome(m_editor.selectInput(m_currentCell, number - 1));
}

void MyTableWidget::SLT_CurOutputSelect(bool checked)
{
    Q_UNUSED(checked)
    const quint32 number = senderNumber(S_OutPut);
    if (number > 0)
        tellOutcome(m_editor.selectOutput(m_currentCell, number - 1));
}

void MyTableWidget::SLT_SyncLock(bool checked)
{
    Q_UNUSED(checked)
}

void MyTableWidget::SLT_CurMultiview(bool checked)
{
    Q_UNUSED(checked)
    const QString name = sender() ? sender()->objectName() : QString();
    for (quint32 k = 0; k < ModeCount; ++k) {
        if (name == ModeName(k)) {
            tellOutcome(m_editor.setMultiview(m_currentCell, k));
            return;
        }
    }
}

void MyTableWidget::SLT_UpdateContent_TvWall()
{
    m_editor.modelChanged();
}

void MyTableWidget::SLT_SetTvWall_Bezel(
    unsigned Edge_H_Left, unsigned Edge_H_Right, unsigned Edge_V_Top, unsigned Edge_V_Bottom)
{
    if (m_selectedSplice == -1)
        return;
    tellOutcome(m_editor.setBezel(m_currentCell, Edge_H_Left, Edge_H_Right, Edge_V_Top, Edge_V_Bottom));
}
