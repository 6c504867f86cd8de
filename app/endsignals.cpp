// The handler only writes the signal's number into a socket pair; the event loop reads it
// from the other end, where Qt may be used again.
#include "app/endsignals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
int g_pair[2] = {-1, -1};
struct sigaction g_former[3];

extern "C" void HandleEndSignal(int number) {
  const int saved = errno;
  // The same signal again while the first is still on its way ends the process as it
  // used to. Another of them is passed on all the same: a session's end often sends SIGHUP
  // right behind SIGTERM, and that must not cut short the update of the recovery copy.
  struct sigaction plain {};
  plain.sa_handler = SIG_DFL;
  ::sigaction(number, &plain, nullptr);
  const unsigned char byte = static_cast<unsigned char>(number);
  [[maybe_unused]] const ssize_t written = ::write(g_pair[0], &byte, 1);
  errno = saved;
}

bool g_caught = false;   // the handlers are in place and the pair is made
bool g_watched = false;  // an instance reads the pair

}  // namespace

void EndSignals::catchEarly() {
  if (g_caught) return;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pair) != 0) {
    g_pair[0] = g_pair[1] = -1;
    return;
  }
  ::fcntl(g_pair[0], F_SETFL, O_NONBLOCK);
  struct sigaction action {};
  action.sa_handler = HandleEndSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int i = 0; i < 3; ++i) ::sigaction(kSignals[i], &action, &g_former[i]);
  g_caught = true;
}

EndSignals::EndSignals(QObject* parent) : QObject(parent) {
  if (g_watched) return;  // one instance at a time holds the signals
  catchEarly();
  if (!g_caught) return;
  g_watched = true;
  // A signal that came before the event loop could look waits in the pair, and is told
  // as soon as it runs.
  notifier_ = new QSocketNotifier(g_pair[1], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &EndSignals::readSignal);
}

void EndSignals::ignoreFromNowOn() {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  for (int signal : kSignals) ::sigaction(signal, &ignore, nullptr);
  ignoring_ = true;
}

EndSignals::~EndSignals() {
  if (!notifier_) return;
  if (!ignoring_)
    for (int i = 0; i < 3; ++i) ::sigaction(kSignals[i], &g_former[i], nullptr);
  delete notifier_;
  ::close(g_pair[0]);
  ::close(g_pair[1]);
  g_pair[0] = g_pair[1] = -1;
  g_caught = g_watched = false;
}

void EndSignals::readSignal() {
  unsigned char byte = 0;
  if (::read(g_pair[1], &byte, 1) == 1) Q_EMIT received(byte);
}
