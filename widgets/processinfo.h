#pragma once
// The process monitor of the widget set: a list of the running processes, taken afresh
// each time the monitor is switched on and kept until it is switched off.
#include "platform/processlist.h"

#include <QObject>
#include <functional>
#include <optional>
#include <vector>

class TProcessInfo : public QObject {
    Q_OBJECT
public:
    using Source = std::function<std::vector<plat::ProcessEntry>()>;
    explicit TProcessInfo(QObject* parent = nullptr);

    // Switching on reads the process table (and raises its failure to the caller).
    void setActive(bool on);
    bool active() const { return m_active; }
    const std::vector<plat::ProcessEntry>& processes() const { return m_list; }
    // The first process whose executable file name equals name, ignoring ASCII case.
    std::optional<plat::ProcessEntry> findByName(const QString& name) const;

    // Where the list comes from; empty: /proc.
    void setSource(Source source) { m_source = std::move(source); }

private:
    Source m_source;
    std::vector<plat::ProcessEntry> m_list;
    bool m_active = false;
};
