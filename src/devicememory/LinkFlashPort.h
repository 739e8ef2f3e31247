#pragma once
// The block read over the program's serial link: the one place where the memory reading meets
// the link and the session's port.
#include <functional>
#include <string>

#include "devicememory/FlashRead.h"
#include "link/Protocol.h"

namespace tirmo::devicememory {

inline constexpr int kFlashFlushPauseMs = 20;
inline constexpr int kFlashSendPauseMs = 10;
inline constexpr int kFlashReadPiece = 32;
inline constexpr int kFlashEmptyReads = 5;

class LinkFlashPort : public FlashPort {
public:
    // console shows the trace (txt_in) and, when the link is closed, the refusal (txt_status);
    // showLength, when given, shows "Len(Rx) = n" (lbl_lenrx).
    explicit LinkFlashPort(link::Console& console, std::function<void(const std::string&)> showLength = {});
    std::optional<std::string> RequestBlock(int bank, int line) override;
    void ShowReply(const std::string& trace, const std::string& length) override;

private:
    link::Console& console_;
    std::function<void(const std::string&)> showLength_;
};

}  // namespace tirmo::devicememory
