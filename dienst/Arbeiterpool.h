#pragma once
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <csignal>
#endif

namespace vesk::dienst {

// A fixed number of threads that run tasks from a bounded queue. A task that finds the queue
// full is refused at once instead of waiting, so that the caller can answer "busy".
// While it lives, SIGINT, SIGTERM and SIGHUP are blocked in the calling thread (nothing on
// Windows): a thread started meanwhile never takes them, from its first instruction on, and
// they reach the thread that waits for them.
class OhneSignale {
 public:
  OhneSignale();
  ~OhneSignale();
  OhneSignale(const OhneSignale&) = delete;
  OhneSignale& operator=(const OhneSignale&) = delete;

#ifndef _WIN32
 private:
  sigset_t vorher;
#endif
};

class Arbeiterpool {
 public:
  // What a task returns runs once its place in the pool is free again, so that whoever it tells
  // of its end can hand the pool the next task at once.
  using Fortsetzung = std::function<void()>;
  using Aufgabe = std::function<Fortsetzung()>;

  // Starts `faeden` threads (at least one) behind a queue of `warteschlange` tasks. The threads
  // never take SIGINT, SIGTERM or SIGHUP: those go to a thread that waits for them.
  Arbeiterpool(unsigned faeden, std::size_t warteschlange);
  // Drops the tasks still waiting, lets the running ones end, then joins the threads: an end
  // that waited for every queued check could outlast any deadline.
  ~Arbeiterpool();
  Arbeiterpool(const Arbeiterpool&) = delete;
  Arbeiterpool& operator=(const Arbeiterpool&) = delete;

  // Queues `aufgabe`; false, leaving it untouched, when every thread is busy and the queue is
  // full. A task must not throw.
  [[nodiscard]] bool versuche(Aufgabe& aufgabe);

 private:
  void arbeite();

  std::size_t kapazitaet;        // threads plus queue
  std::size_t beschaeftigt = 0;  // tasks queued or running
  std::mutex sperre;
  std::condition_variable neueAufgabe;
  std::deque<Aufgabe> schlange;
  bool endet = false;
  std::vector<std::thread> faeden;  // last, so that they start on a complete pool
};

}  // namespace vesk::dienst
