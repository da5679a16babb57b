// Devices that a test owns: a pseudo-terminal, a FIFO, and a private
// device-name folder, so that no test ever opens the machine's own ports.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

// A scratch folder that stands in for $XDG_RUNTIME_DIR while it lives.
class ScratchRuntimeDir {
public:
    ScratchRuntimeDir();
    ~ScratchRuntimeDir();
    ScratchRuntimeDir(const ScratchRuntimeDir&) = delete;
    ScratchRuntimeDir& operator=(const ScratchRuntimeDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path deviceFolder() const { return path_ / "kestrova-px9" / "dosdevices"; }
    // Points the entry for name (e.g. "com1", "lpt2") at target.
    void link(const std::string& name, const std::filesystem::path& target) const;

private:
    std::filesystem::path path_;
    std::string previous_;
    bool hadPrevious_ = false;
};

// A pseudo-terminal: the program writes to the slave side (slavePath), the
// test reads what arrives at the master side.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& slavePath() const { return slavePath_; }
    int master() const { return master_; }
    int slave() const { return slave_; }   // held open so the pty stays up between opens
    // Everything that has arrived within the quiet period after the last byte.
    std::string readAvailable(std::chrono::milliseconds quiet = std::chrono::milliseconds(100));
    // Reads until exactly count bytes have arrived or the timeout passes.
    std::string readExactly(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    void closeMaster();

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

// A FIFO with the test's read end open.
class Fifo {
public:
    explicit Fifo(const std::filesystem::path& path);
    ~Fifo();
    Fifo(const Fifo&) = delete;
    Fifo& operator=(const Fifo&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string readAvailable(std::chrono::milliseconds quiet = std::chrono::milliseconds(100));
    std::string readExactly(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    void closeReader();

private:
    std::filesystem::path path_;
    int reader_ = -1;
};

std::string readAvailableFrom(int fd, std::chrono::milliseconds quiet);
std::string readExactlyFrom(int fd, std::size_t count, std::chrono::milliseconds timeout);
