#pragma once

#include "Windows/WindowFader.h"

#include <optional>

namespace quorvane::test {

// Records the fades started; stop() answers what the test says was reached (the target when
// it says nothing).
class FakeWindowFader final : public WindowFader {
public:
    struct Fade {
        std::vector<WId> windows;
        double from = 0;
        double to = 0;
        double duration = 0;
        Curve curve;
    };
    std::vector<Fade> started;
    std::optional<double> reached;
    bool running = false;
    int stops = 0; // of running fades

    void start(const std::vector<WId> &windows, double from, double to, double duration, Curve curve) override
    {
        stop();
        started.push_back({windows, from, to, duration, std::move(curve)});
        running = true;
    }
    double stop() override
    {
        if (!running)
            return m_last;
        ++stops;
        running = false;
        m_last = reached.value_or(started.back().to);
        return m_last;
    }

private:
    double m_last = 1;
};

} // namespace quorvane::test
