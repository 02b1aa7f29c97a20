#include "album/thumbnail_worker.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "base/handles.h"

bool ThumbnailWorker::Queue(ThumbnailJob job, bool urgent) {
  std::lock_guard<std::mutex> lock(m_lock);
  if (m_bStop) return false;
  if (!m_thread.joinable()) {
    try {
      m_thread = std::thread([this] {
        try {
          Run();
        } catch (...) {  // nothing leaves the thread
        }
      });
    } catch (const std::system_error&) {
      return false;
    }
  }
  if (urgent) {
    const auto waiting = std::find_if(m_jobs.begin(), m_jobs.end(), [&](const ThumbnailJob& j) {
      return j.ticket == job.ticket;
    });
    if (waiting != m_jobs.end()) m_jobs.erase(waiting);
    m_jobs.push_front(std::move(job));
  } else {
    m_jobs.push_back(std::move(job));
  }
  m_wake.notify_one();
  return true;
}

void ThumbnailWorker::Cancel() {
  std::lock_guard<std::mutex> lock(m_lock);
  ++m_nGeneration;
  m_jobs.clear();
  m_done.clear();
  if (m_bWorking) m_cancelJob = true;
}

std::vector<ThumbnailDone> ThumbnailWorker::Take() {
  std::lock_guard<std::mutex> lock(m_lock);
  m_bPosted = false;
  return std::exchange(m_done, {});
}

bool ThumbnailWorker::Busy() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_bWorking || !m_jobs.empty() || !m_done.empty();
}

void ThumbnailWorker::Stop() {
  {
    std::lock_guard<std::mutex> lock(m_lock);
    m_bStop = true;
    m_jobs.clear();
    m_cancelJob = true;
  }
  m_wake.notify_one();
  if (m_thread.joinable()) m_thread.join();
  std::lock_guard<std::mutex> lock(m_lock);
  m_done.clear();
}

// A job that fails, whatever the reason, gives an empty thumbnail.
void ThumbnailWorker::Run() {
  // The picture object and the AVI service are COM objects.
  const base::ComScope com;
  std::unique_lock<std::mutex> lock(m_lock);
  for (;;) {
    m_wake.wait(lock, [this] { return m_bStop || !m_jobs.empty(); });
    if (m_bStop) return;
    ThumbnailJob job = std::move(m_jobs.front());
    m_jobs.pop_front();
    const unsigned generation = m_nGeneration;
    m_bWorking = true;
    m_cancelJob = false;
    lock.unlock();
    ThumbnailDone done;
    done.ticket = job.ticket;
    try {
      done.path = job.path;
      done.thumbnail = MakeThumbnail(job.path, job.source, job.box, &m_cancelJob);
    } catch (...) {
      done.thumbnail = Thumbnail{};
    }
    lock.lock();
    m_bWorking = false;
    if (generation != m_nGeneration || m_bStop) continue;  // asked for by a list since left
    try {
      m_done.push_back(std::move(done));
    } catch (const std::bad_alloc&) {
      continue;
    }
    if (!m_bPosted) m_bPosted = ::PostMessageW(m_notify, m_message, 0, 0) != FALSE;
  }
}
