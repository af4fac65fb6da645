#pragma once

#include "Controller/ControllerHarness.h"
#include "Controller/SwitchWorker.h"
#include "FakeDesktopIconHost.h"
#include "Wait.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace quorvane::test {

// A host whose reads (the engine's, as the outgoing items leave the Desktop) wait until the test
// opens the gate: the files are mid-move, on the worker, for as long as the test needs.
class GatedIconHost final : public FakeDesktopIconHost {
public:
    IconPositions read(const QStringList &names) override
    {
        std::unique_lock lock(m_mutex);
        ++m_waiting;
        m_changed.notify_all();
        m_changed.wait_for(lock, std::chrono::seconds(30 * slowness()), [this] { return m_open; });
        --m_waiting;
        return FakeDesktopIconHost::read(names);
    }
    void open()
    {
        const std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }
    bool waiting()
    {
        const std::lock_guard lock(m_mutex);
        return m_waiting > 0;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_waiting = 0;
    bool m_open = false;
};

// A controller whose switches move their files on the worker, held mid-move by a gated host
// until the test opens it.
struct WorkerHarness : ControllerHarness {
    std::shared_ptr<GatedIconHost> gate = std::make_shared<GatedIconHost>();
    void SetUp() override
    {
        ControllerHarness::SetUp();
        SwitchWorker::setInline(false);
        iconHost = gate;
    }
    void TearDown() override
    {
        gate->open();
        SwitchWorker::setInline(true);
    }
};

} // namespace quorvane::test
