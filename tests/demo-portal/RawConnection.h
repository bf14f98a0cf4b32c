#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tivora::demo::test {

// A plain TCP connection to a portal on loopback: sends bytes exactly as given and collects
// whatever comes back, without blocking.
class RawConnection final {
public:
    explicit RawConnection(int port);
    ~RawConnection();
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    [[nodiscard]] bool connected() const { return socket_ >= 0; }
    // False once the portal has closed its side (or the connection was reset).
    bool send(std::string_view bytes) const;
    // No more sending; the portal may still answer.
    void shutdownSending() const;
    // Everything received so far, after reading what has arrived.
    [[nodiscard]] const std::string& received();
    // True once the portal closed the connection (after all it sent was read).
    [[nodiscard]] bool closedByPeer();

private:
    int socket_ = -1;
    std::string received_;
    bool closed_ = false;
};

// The status codes of the answers in text, in order.
[[nodiscard]] std::vector<int> statuses(std::string_view text);

}  // namespace tivora::demo::test
