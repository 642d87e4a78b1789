#pragma once
#include <atomic>
#include <memory>
#include <mutex>

namespace vesk {

// An object built on its first request and read without a lock from then on, by any number of
// threads. A build that throws keeps nothing, so the next request builds (and fails) again.
// The caller's mutex serialises the builds, never the reads of a built object.
template <class T>
class EinmalGebaut {
 public:
  // The object, built by `baue` (returning std::unique_ptr<T>) when there is none yet.
  template <class Bauer>
  const T& gib(std::mutex& bauen, Bauer&& baue) const {
    if (const T* fertig = gebaut.load(std::memory_order_acquire)) {
      return *fertig;
    }
    const std::lock_guard sperre(bauen);
    if (const T* fertig = gebaut.load(std::memory_order_relaxed)) {
      return *fertig;
    }
    objekt = baue();
    gebaut.store(objekt.get(), std::memory_order_release);
    return *objekt;
  }
  // The object when it was built already, else nullptr.
  [[nodiscard]] const T* fertig() const { return gebaut.load(std::memory_order_acquire); }

 private:
  mutable std::atomic<const T*> gebaut{nullptr};
  mutable std::unique_ptr<T> objekt;
};

}  // namespace vesk
