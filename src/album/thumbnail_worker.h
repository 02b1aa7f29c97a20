#pragma once
// Makes thumbnails on a thread of its own, so that opening and scrolling an
// album never waits for pictures to be decoded. Jobs are taken in order,
// urgent ones (cells in view) first; each finished thumbnail is kept until
// the window takes it, and the window is told with a posted message that
// there are thumbnails to take. The thread starts with the first job and is
// stopped and joined when the worker goes.
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "album/thumbnail_maker.h"

struct ThumbnailJob {
  unsigned ticket = 0;  // the asker's name for the job
  std::wstring path;
  ThumbnailSource source = ThumbnailSource::kBitmapFile;
  SIZE box{};
};

struct ThumbnailDone {
  unsigned ticket = 0;
  std::wstring path;
  Thumbnail thumbnail;
};

class ThumbnailWorker {
 public:
  // `message` is posted to `notify` whenever thumbnails wait to be taken.
  ThumbnailWorker(HWND notify, UINT message) : m_notify(notify), m_message(message) {}
  ~ThumbnailWorker() { Stop(); }
  ThumbnailWorker(const ThumbnailWorker&) = delete;
  ThumbnailWorker& operator=(const ThumbnailWorker&) = delete;

  // Adds a job at the end, or, when `urgent`, ahead of the others (a job of
  // that ticket already waiting moves to the front). False when the thread
  // cannot be started.
  bool Queue(ThumbnailJob job, bool urgent);
  // Forgets every waiting job and every thumbnail not taken yet; the job
  // under way is cut short and its result dropped.
  void Cancel();
  // The thumbnails finished since the last call.
  std::vector<ThumbnailDone> Take();
  // Whether jobs wait, one is under way, or thumbnails wait to be taken.
  bool Busy() const;
  // Ends the thread after the job under way (cut short); jobs left are dropped.
  void Stop();

 private:
  void Run();

  HWND m_notify;
  UINT m_message;
  mutable std::mutex m_lock;
  std::condition_variable m_wake;
  std::deque<ThumbnailJob> m_jobs;
  std::vector<ThumbnailDone> m_done;
  unsigned m_nGeneration = 0;  // counts the cancels; a job of an older one is dropped
  bool m_bWorking = false;
  bool m_bStop = false;
  bool m_bPosted = false;  // the message is on its way and the done list not yet taken
  std::atomic<bool> m_cancelJob{false};
  std::thread m_thread;
};
