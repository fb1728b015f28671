// The way from the configuration a device has to the one a backup holds: the changes in an
// order the device accepts, each a change in words and the command builders that make it. Only
// what differs is changed. Order: the wall's splice groups are cancelled and its size set first
// (a group would keep its outputs), then the inputs, the outputs, every output's multiview state
// (mode before the fields of the mode), the wall's groups again (only SINGLE outputs splice),
// the routes (a splice routes its group), and last the link settings, which change the link.
//
// The wall steps go through WallEditor on DeviceState, which must hold the device's current
// wall when the planner is made. GUI thread, as the builders.
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
    bool wallDiffers() const;
    WallEditor &editor();
    bool wallLayoutDiffers() const;

    DeviceConfig m_device;
    DeviceConfig m_wanted;
    bool m_withLink;
    bool m_wallRebuilt = false;
    QVector<bool> m_modeChanged;
    WallEditor m_editor;
    QVector<RestoreStep> m_steps;
};
