// Arguments.h: the benchmarks' command lines, `--name value` options in any order, and the one
// way they end on anything they cannot use: a line on standard error and exit status 1.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace bench {

// What every benchmark is told of its run: the device's drawing threads (0: one per core), the
// untimed frames first and the timed frames.
struct FrameRun {
    unsigned threads;
    int warmup;
    int frames;
};

[[noreturn]] inline void fail(std::string_view program, const std::string& message) {
    std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(program.size()), program.data(),
                 message.c_str());
    std::exit(1);
}

class Arguments {
public:
    Arguments(std::string_view program, int argc, char** argv)
        : program_(program), argc_(argc), argv_(argv) {}

    // The next option's name; empty after the last.
    std::string_view next() noexcept {
        option_ = ++index_ < argc_ ? std::string_view(argv_[index_]) : std::string_view();
        return option_;
    }

    // The value after the current option.
    const char* value() {
        if (index_ + 1 >= argc_) fail(program_, "missing value after " + std::string(option_));
        return argv_[++index_];
    }

    // Reads the current option into `run` if it is --threads, --warmup or --frames.
    bool readFrameRun(FrameRun& run) {
        if (option_ == "--threads") {
            run.threads = static_cast<unsigned>(std::atoi(value()));
        } else if (option_ == "--warmup") {
            run.warmup = std::atoi(value());
        } else if (option_ == "--frames") {
            run.frames = std::atoi(value());
        } else {
            return false;
        }
        if (run.frames <= 0 || run.warmup < 0) fail(program_, "bad frame counts");
        return true;
    }

private:
    std::string_view program_;
    int argc_;
    char** argv_;
    int index_ = 0;
    std::string_view option_;
};

}  // namespace bench
