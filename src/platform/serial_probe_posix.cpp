#include "platform/serial_probe.h"

#include <QElapsedTimer>
#include <memory>
#include <poll.h>

#include "platform/serial_device.h"
#include "platform/uucp_lock.h"

namespace platform {

std::vector<QByteArray> QueryDevicesTogether(const QStringList& paths, const QByteArray& request,
                                             int timeoutMs,
                                             const std::function<bool(const QByteArray&)>& complete) {
  struct TProbe {
    TUucpLock lock;
    std::unique_ptr<TSerialDevice> device;
    bool done = true;
  };
  const int count = static_cast<int>(paths.size());
  std::vector<QByteArray> answers(static_cast<size_t>(count));
  std::vector<std::unique_ptr<TProbe>> probes;
  probes.reserve(static_cast<size_t>(count));
  for (const QString& path : paths) {
    auto probe = std::make_unique<TProbe>();
    if (probe->lock.Acquire(path) == TUucpLock::TResult::kAcquired) {
      probe->device = TSerialDevice::Open(path, nullptr);
      if (probe->device) {
        probe->device->DiscardInput();
        // No waiting for room: a stuck device must not hold up the others.
        probe->done = !probe->device->Write(request, 0);
      }
    }
    probes.push_back(std::move(probe));
  }

  QElapsedTimer clock;
  clock.start();
  for (;;) {
    bool waiting = false;
    for (int i = 0; i < count; ++i) {
      TProbe& probe = *probes[static_cast<size_t>(i)];
      if (probe.done) continue;
      bool lost = false;
      answers[static_cast<size_t>(i)] += probe.device->ReadFor(0, &lost);
      probe.done = lost || complete(answers[static_cast<size_t>(i)]);
      waiting = waiting || !probe.done;
    }
    const qint64 left = timeoutMs - clock.elapsed();
    if (!waiting || left <= 0) break;
    // Sleep until any device still asked has something to say.
    std::vector<pollfd> fds;
    for (const auto& probe : probes) {
      if (!probe->done) fds.push_back({probe->device->Handle(), POLLIN, 0});
    }
    ::poll(fds.data(), fds.size(), static_cast<int>(left));
  }
  return answers;
}

}  // namespace platform
