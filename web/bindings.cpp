// The thin binding between the browser page and the plain library: a session owns one form,
// runs the page's events through RunEvent and hands back the records that changed, as JSON
// (or all of them, for tests and links).

#include <cstdint>
#include <limits>
#include <memory>
#include <string>

#include <emscripten/bind.h>

#include "ui/companion.h"
#include "ui/events.h"
#include "ui/frame_link.h"
#include "ui/page_description.h"
#include "ui/records_changes.h"
#include "ui/records_json.h"

namespace {

class Session {
  public:
    Session() { Restart(); }

    // Anything JavaScript can pass is absorbed: an unknown kind or an index beyond 16 bits runs
    // nothing. True when the verdict after the event is worth saying to a screen reader user.
    bool Run(int kind, int index, const std::string& text) {
        constexpr int kLowest = std::numeric_limits<std::int16_t>::min();
        constexpr int kHighest = std::numeric_limits<std::int16_t>::max();
        if (kind < 0 || kind >= bitwatch::kEventKinds || index < kLowest || index > kHighest) {
            return false;
        }
        return bitwatch::RunEventAnnouncing(*form_, {static_cast<bitwatch::EventKind>(kind),
                                                     static_cast<std::int16_t>(index), text});
    }

    std::string Records() const { return bitwatch::RecordsJson(*form_); }

    // The elements that changed since the page was last told; every element the first time.
    std::string Changes() { return changes_.Since(*form_); }

    // The state as a link's text, or "" when the boxes hold more text than a link carries.
    std::string Link() const { return bitwatch::FrameLink(*form_).value_or(""); }

    // Starts afresh in the state of a link; false, and started afresh as at launch, for a link
    // the library refuses.
    bool Open(const std::string& link) {
        Restart();
        return bitwatch::OpenFrameLink(*form_, link);
    }

    // The companion "Why?" for the frame as it stands, and whether it should follow now (not
    // every frame of a fast run or a search).
    std::string Companion() const { return bitwatch::CompanionHtml(*form_); }
    bool CompanionFollows() const { return bitwatch::CompanionFollows(*form_); }

  private:
    void Restart() {
        form_ = std::make_unique<bitwatch::Form>();
        bitwatch::Startup(*form_);
    }

    // A form cannot be copied or assigned (its mode box notifies it), so a fresh start is a
    // fresh form.
    std::unique_ptr<bitwatch::Form> form_;
    // What the page was told, which a fresh form does not change.
    bitwatch::RecordsChanges changes_;
};

} // namespace

EMSCRIPTEN_BINDINGS(bitwatch) {
    emscripten::class_<Session>("Session")
        .constructor<>()
        .function("run", &Session::Run)
        .function("records", &Session::Records)
        .function("changes", &Session::Changes)
        .function("link", &Session::Link)
        .function("open", &Session::Open)
        .function("companion", &Session::Companion)
        .function("companionFollows", &Session::CompanionFollows);
    emscripten::function("pageDescription", &bitwatch::PageDescriptionJson);
}
