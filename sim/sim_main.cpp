// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
//
// tarvok-sim: plays the plant's controller on a pseudo-terminal, so the
// workstation can be run and tested without the plant.

#include "sim/plant.h"
#include "sim/sim_frame.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstdarg>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <poll.h>
#include <random>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using tarvok::sim::Plant;

volatile std::sig_atomic_t gStop = 0;

void onSignal(int)
{
    gStop = 1;
}

struct Options {
    std::uint32_t seed = 1;
    std::vector<std::pair<long, long>> silent; // after poll N, M polls unanswered
    double badRate = 0.0;
    int writeResult = 0;
    int doseEvery = 20;
    std::string linkPath;
    std::string logPath;
};

void usage()
{
    std::fprintf(stderr,
                 "usage: tarvok-sim [--seed N] [--link PATH] [--log FILE] [--dose-every N]\n"
                 "                  [--silent-after N --silent-polls M] [--silent N:M[,N:M...]]\n"
                 "                  [--bad-rate R] [--write-result CODE]\n");
}

bool parseLong(const char* text, long& out)
{
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0')
        return false;
    out = v;
    return true;
}

bool parseSilentList(const std::string& list, Options& o)
{
    std::size_t pos = 0;
    while (pos <= list.size()) {
        const std::size_t comma = std::min(list.find(',', pos), list.size());
        const std::string item = list.substr(pos, comma - pos);
        const std::size_t colon = item.find(':');
        long after = 0, polls = 0;
        if (colon == std::string::npos || !parseLong(item.substr(0, colon).c_str(), after)
            || !parseLong(item.substr(colon + 1).c_str(), polls) || after < 0 || polls < 0)
            return false;
        o.silent.emplace_back(after, polls);
        pos = comma + 1;
    }
    return true;
}

bool parseOptions(int argc, char** argv, Options& o)
{
    long silentAfter = -1, silentPolls = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            usage();
            std::exit(0);
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "tarvok-sim: %s needs a value\n", a.c_str());
            return false;
        }
        const char* v = argv[++i];
        long n = 0;
        if (a == "--seed" && parseLong(v, n)) {
            o.seed = static_cast<std::uint32_t>(n);
        } else if (a == "--silent-after" && parseLong(v, n) && n >= 0) {
            silentAfter = n;
        } else if (a == "--silent-polls" && parseLong(v, n) && n >= 0) {
            silentPolls = n;
        } else if (a == "--silent" && parseSilentList(v, o)) {
        } else if (a == "--bad-rate") {
            char* end = nullptr;
            o.badRate = std::strtod(v, &end);
            if (end == v || *end != '\0' || o.badRate < 0.0 || o.badRate > 1.0) {
                std::fprintf(stderr, "tarvok-sim: --bad-rate takes a fraction 0..1\n");
                return false;
            }
        } else if (a == "--write-result" && parseLong(v, n) && n >= 0 && n <= 255) {
            o.writeResult = static_cast<int>(n);
        } else if (a == "--dose-every" && parseLong(v, n) && n >= 2) {
            o.doseEvery = static_cast<int>(n);
        } else if (a == "--link") {
            o.linkPath = v;
        } else if (a == "--log") {
            o.logPath = v;
        } else {
            std::fprintf(stderr, "tarvok-sim: bad option or value: %s %s\n", a.c_str(), v);
            return false;
        }
    }
    if ((silentAfter >= 0) != (silentPolls >= 0)) {
        std::fprintf(stderr, "tarvok-sim: --silent-after and --silent-polls go together\n");
        return false;
    }
    if (silentAfter >= 0)
        o.silent.emplace_back(silentAfter, silentPolls);
    return true;
}

std::string hex(const std::uint8_t* bytes, std::size_t count)
{
    std::string s;
    char buf[4];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(buf, sizeof buf, i ? " %02x" : "%02x", bytes[i]);
        s += buf;
    }
    return s;
}

class Simulator {
public:
    explicit Simulator(const Options& o)
        : opt_(o)
        , plant_(o.seed, o.doseEvery)
        , rng_(o.seed ^ 0x9E3779B9u)
    {
    }

    ~Simulator()
    {
        if (log_)
            std::fclose(log_);
        if (slave_ >= 0)
            ::close(slave_);
        if (master_ >= 0)
            ::close(master_);
        if (linked_)
            ::unlink(opt_.linkPath.c_str());
    }

    bool start()
    {
        if (!opt_.logPath.empty()) {
            log_ = std::fopen(opt_.logPath.c_str(), "w");
            if (!log_) {
                std::fprintf(stderr, "tarvok-sim: cannot write %s: %s\n", opt_.logPath.c_str(), std::strerror(errno));
                return false;
            }
        }
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
            std::fprintf(stderr, "tarvok-sim: no pseudo-terminal: %s\n", std::strerror(errno));
            return false;
        }
        char name[128];
        if (::ptsname_r(master_, name, sizeof name) != 0)
            return false;
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);

        // Holding the slave end open keeps the master readable while the
        // workstation closes and reopens its port, and keeps the raw mode.
        slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (slave_ < 0) {
            std::fprintf(stderr, "tarvok-sim: cannot open %s: %s\n", name, std::strerror(errno));
            return false;
        }
        termios tio{};
        if (::tcgetattr(slave_, &tio) == 0) {
            ::cfmakeraw(&tio);
            tio.c_cflag |= CLOCAL | CREAD;
            tio.c_cc[VMIN] = 0;
            tio.c_cc[VTIME] = 0;
            ::tcsetattr(slave_, TCSANOW, &tio);
        }

        if (!opt_.linkPath.empty()) {
            ::unlink(opt_.linkPath.c_str());
            if (::symlink(name, opt_.linkPath.c_str()) != 0) {
                std::fprintf(stderr, "tarvok-sim: cannot link %s: %s\n", opt_.linkPath.c_str(), std::strerror(errno));
                return false;
            }
            linked_ = true;
        }
        std::printf("%s\n", name);
        std::fflush(stdout);
        logLine("start seed=%u pty=%s", opt_.seed, name);
        return true;
    }

    void run()
    {
        while (!gStop) {
            int timeout = 50;
            if (!out_.empty()) {
                const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(out_.front().first - Clock::now());
                timeout = std::clamp(static_cast<int>(wait.count()) + 1, 0, 50);
            }
            pollfd p{master_, POLLIN, 0};
            const int r = ::poll(&p, 1, timeout);
            if (r < 0 && errno != EINTR)
                break;
            if (r > 0 && (p.revents & POLLIN))
                readInput();
            else if (r > 0 && (p.revents & (POLLHUP | POLLERR)))
                ::usleep(20000); // nobody on the line; do not spin
            flushOutput();
        }
        logLine("stop");
    }

private:
    void logLine(const char* fmt, ...) __attribute__((format(printf, 2, 3)))
    {
        if (!log_)
            return;
        std::fprintf(log_, "poll=%ld ", polls_);
        va_list ap;
        va_start(ap, fmt);
        std::vfprintf(log_, fmt, ap);
        va_end(ap);
        std::fputc('\n', log_);
        std::fflush(log_);
    }

    void readInput()
    {
        std::uint8_t buf[512];
        for (;;) {
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return;
            for (ssize_t i = 0; i < n; ++i)
                if (auto frame = reader_.feed(buf[i]))
                    handle(*frame);
        }
    }

    bool silentNow() const
    {
        for (const auto& [after, count] : opt_.silent)
            if (polls_ > after && polls_ <= after + count)
                return true;
        return false;
    }

    void handle(const tarvok::sim::ReceivedFrame& f)
    {
        ++polls_;
        const auto& b = f.body;
        if (!f.crcOk) {
            logLine("request bad-crc length=%zu ignored", b.size());
            return;
        }
        if (b.size() < 6) {
            logLine("request short length=%zu ignored", b.size());
            return;
        }
        const int dest = b[0], src = b[1], func = b[2], start = b[3] | (b[4] << 8), count = b[5];
        if (dest != 1) {
            logLine("request for address %d ignored", dest);
            return;
        }
        std::vector<std::uint8_t> reply{static_cast<std::uint8_t>(src), static_cast<std::uint8_t>(dest)};
        if (func == 1 && b.size() == 6 && start + count <= Plant::AreaSize) {
            logLine("request read start=%d count=%d", start, count);
            if (silentNow()) {
                logLine("silent");
                return;
            }
            plant_.advance();
            for (const Plant::Dose& d : plant_.finished())
                logLine("dose doser=%d marker=%d setpoint=%d task=%d material=%d weight=%d", d.doser, d.marker,
                        d.setpoint, d.task, d.material, d.weight);
            reply.push_back(0x81);
            const auto& area = plant_.area();
            reply.insert(reply.end(), area.begin() + start, area.begin() + start + count);
            send(reply, "read");
        } else if (func == 2 && b.size() == 6u + count && start + count <= Plant::AreaSize) {
            logLine("request write start=%d count=%d data=%s", start, count, hex(b.data() + 6, count).c_str());
            if (silentNow()) {
                logLine("silent");
                return;
            }
            if (opt_.writeResult == 0)
                plant_.write(start, b.data() + 6, count);
            reply.push_back(0x82);
            reply.push_back(static_cast<std::uint8_t>(opt_.writeResult));
            send(reply, "write");
        } else {
            logLine("request function=%d start=%d count=%d length=%zu ignored", func, start, count, b.size());
        }
    }

    void send(std::vector<std::uint8_t> body, const char* kind)
    {
        const auto now = Clock::now();
        if (opt_.badRate > 0.0 && std::uniform_real_distribution<double>(0.0, 1.0)(rng_) < opt_.badRate) {
            const int how = std::uniform_int_distribution<int>(0, 2)(rng_);
            if (how == 0) {
                auto frame = tarvok::sim::encodeFrame(body);
                frame[frame.size() - 2] ^= 0x5A;
                queue(now, std::move(frame));
                logLine("reply %s bad-crc", kind);
            } else if (how == 1) {
                // The tail comes after the workstation has stopped looking and
                // lands in front of its next reply.
                auto frame = tarvok::sim::encodeFrame(body);
                const std::size_t cut = frame.size() / 2;
                queue(now, std::vector<std::uint8_t>(frame.begin(), frame.begin() + cut));
                queue(now + std::chrono::milliseconds(400), std::vector<std::uint8_t>(frame.begin() + cut, frame.end()));
                logLine("reply %s cut at=%zu of=%zu", kind, cut, frame.size());
            } else {
                std::swap(body[0], body[1]);
                queue(now, tarvok::sim::encodeFrame(body));
                logLine("reply %s swapped-addresses", kind);
            }
            return;
        }
        queue(now, tarvok::sim::encodeFrame(body));
        if (body.size() == 4)
            logLine("reply %s code=%d", kind, body[3]);
        else
            logLine("reply %s ok length=%zu", kind, body.size());
    }

    void queue(Clock::time_point at, std::vector<std::uint8_t> bytes)
    {
        // Keeps the line in order: nothing overtakes a delayed tail.
        if (!out_.empty())
            at = std::max(at, out_.back().first);
        out_.emplace_back(at, std::move(bytes));
    }

    void flushOutput()
    {
        while (!out_.empty() && out_.front().first <= Clock::now()) {
            const auto& bytes = out_.front().second;
            std::size_t done = 0;
            while (done < bytes.size()) {
                const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0)
                    break; // the line is full or gone: drop the rest
                done += static_cast<std::size_t>(n);
            }
            out_.pop_front();
        }
    }

    Options opt_;
    Plant plant_;
    std::mt19937 rng_;
    tarvok::sim::FrameReader reader_;
    std::deque<std::pair<Clock::time_point, std::vector<std::uint8_t>>> out_;
    int master_ = -1;
    int slave_ = -1;
    bool linked_ = false;
    long polls_ = 0;
    std::FILE* log_ = nullptr;
};

} // namespace

int main(int argc, char** argv)
{
    Options opt;
    if (!parseOptions(argc, argv, opt)) {
        usage();
        return 2;
    }
    struct sigaction sa{};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
    std::signal(SIGHUP, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);

    Simulator sim(opt);
    if (!sim.start())
        return 1;
    sim.run();
    return 0;
}
