#pragma once
// The memory's reads and writes over the program's serial link: the one place where the memory
// code meets the link and the session's port. Every request and transfer is one exchange of the
// link (an operation that holds the port for longer joins it).
#include <functional>
#include <string>

#include "devicememory/FlashWrite.h"
#include "link/Protocol.h"

namespace tirmo::devicememory {

inline constexpr int kFlashFlushPauseMs = 20;
inline constexpr int kFlashSendPauseMs = 10;
inline constexpr int kFlashReadPiece = 32;
inline constexpr int kFlashEmptyReads = 5;

class LinkFlashPort : public FlashWritePort {
public:
    // console shows the trace (txt_in) and, when the link is closed, the refusal (txt_status);
    // showLength, when given, shows "Len(Rx) = n" (lbl_lenrx).
    explicit LinkFlashPort(link::Console& console, std::function<void(const std::string&)> showLength = {});
    std::optional<std::string> RequestBlock(int bank, int line) override;
    // An empty length leaves lbl_lenrx as it is.
    void ShowReply(const std::string& trace, const std::string& length) override;
    void Flush() override;
    std::optional<std::string> Transfer(const std::string& bytes, int wanted) override;
    void ShowMonitor(const std::string& text) override;
    bool LinkOpen() const override;
    // Bytes written and read so far (what went over the wire).
    long written = 0, received = 0;

private:
    link::Console& console_;
    std::function<void(const std::string&)> showLength_;
};

}  // namespace tirmo::devicememory
