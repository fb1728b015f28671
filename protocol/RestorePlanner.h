// The way from the configuration a device has to the one a backup holds: the changes in an
// order the device accepts, each a change in words and the command builders that make it. Only
// what differs is changed. Order: the wall's splice groups are cancelled and its size set first
// (a group would keep its outputs), then the inputs, the outputs, every output's multiview state
// (mode before the fields of the mode), the wall's groups again (only SINGLE outputs splice)
// with their bezels and the screens taken out of them, the routes (a splice routes its group), and last the link settings, which change the link.
//
// The wall steps go through WallEditor, so the wall's rules stay in one place. Each wall step
// starts from the wall in DeviceState: the device's reply to the step before, or, in a run that
// sends nothing, what that step's assume stored. Like every wall edit, a wall step queues
// nothing without a chosen link. GUI thread, as the builders.
#pragma once

#include "protocol/DeviceConfig.h"
#include "protocol/WallEditor.h"

#include <QString>
#include <QVector>
#include <functional>

struct RestoreStep {
    QString change; // in words, for the operator
    // Queues the step's command lines (a wall step may queue several); may queue nothing when
    // a builder's guard refuses it.
    std::function<void()> build;
    // What the device's confirmation stores in DeviceState, for a run that sends nothing: the
    // builders of later steps read it (a layout needs the mode set before it).
    std::function<void()> assume;
};

class RestorePlanner
{
public:
    // withLink: the network and baud-rate settings are restored too.
    RestorePlanner(const DeviceConfig &device, const DeviceConfig &wanted, bool withLink);
    RestorePlanner(const RestorePlanner &) = delete;
    RestorePlanner &operator=(const RestorePlanner &) = delete;

    const QVector<RestoreStep> &steps() const { return m_steps; }
    QStringList changes() const;

private:
    void planWallTeardown();
    void planInputs();
    void planOutputs();
    void planMultiview(int output);
    void planWallGroups();
    void planRoutes();
    void planLinkSettings();
    void add(const QString &change, std::function<void()> build, std::function<void()> assume = {});
    void addWallStep(const QString &change, std::function<void(WallEditor &)> edit);
    bool wallDiffers() const;
    bool wallLayoutDiffers() const;
    bool deviceHasGroups() const;
    QVector<quint32> wantedOutputs() const;
    // The bezels a group of the file has: those of its first screen not taken out.
    const int *wantedEdgesOfGroup(int anchor, int top, int left, int bottom, int right) const;

    DeviceConfig m_device;
    DeviceConfig m_wanted;
    bool m_withLink;
    bool m_wallRebuilt = false;
    QVector<bool> m_modeChanged;
    WallEditor m_editor;
    QVector<RestoreStep> m_steps;
};
