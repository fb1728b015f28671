#include "pages/Ui_Multiview.h"

#include "protocol/CommandSet.h"

Ui_Multiview::Ui_Multiview(QWidget *parent)
    : QWidget(parent)
{ }

void Ui_Multiview::Retranslate(bool create, bool noRefresh)
{
    // The page has no labelled widgets yet.
    Q_UNUSED(create)
    Q_UNUSED(noRefresh)
}

quint32 Ui_Multiview::ShownOutput() const
{
    return 0;
}

void Ui_Multiview::ShowMode(quint32 output, quint32 mode)
{
    // The mode view comes with the page itself.
    Q_UNUSED(mode)
    if (output != ShownOutput())
        return;
    CmdGetMultiviewSync(output);
    emit SGL_UpdateEmit();
}

void Ui_Multiview::Rebuild()
{
    // The output list comes with the page itself.
}

void Ui_Multiview::Refresh()
{
    // The window and source rows come with the page itself.
}

void Ui_Multiview::ReadState()
{
    const quint32 output = ShownOutput();
    CmdGetMultiviewSync(output);
    CmdGetOutAudioSource(output);
    CmdGetVka(output);
    CmdGetItc(output);
    emit SGL_UpdateEmit();
}
