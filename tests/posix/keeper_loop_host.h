#pragma once
// The interface thread's side of the catalog's owner for the tests: a wake flag the jobs set,
// and a one-shot timer on a clock the test moves by hand.
#include "core/catalog/catalog_keeper.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvan::testing {

class LoopHost final : public CatalogKeeperHost {
public:
    void Wake() override {
        const std::lock_guard lock(mutex_);
        woken_ = true;
        cv_.notify_all();
    }
    void SetTimer(std::optional<double> seconds) override {
        timerAt = seconds ? std::optional<double>(clock + *seconds) : std::nullopt;
    }
    void CatalogPublished() override {
        ++published;
        if (onPublished)
            onPublished();
    }
    void Report(const std::string& text) override { reports.push_back(text); }

    // Whether a job woke the host within `bound`; the flag is taken.
    bool WaitWake(std::chrono::milliseconds bound) {
        std::unique_lock lock(mutex_);
        cv_.wait_for(lock, bound, [this] { return woken_; });
        return std::exchange(woken_, false);
    }

    double clock = 1000.0;
    std::optional<double> timerAt;
    int published = 0;
    std::function<void()> onPublished;
    std::vector<std::string> reports;

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool woken_ = false;
};

} // namespace orvan::testing
