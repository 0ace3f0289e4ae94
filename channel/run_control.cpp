#include "channel/run_control.h"

#include "channel/rate_text.h"
#include "channel/send_frame.h"

namespace bitwatch {

void RunTick(Form& form) {
    SendFrame(form);
    ++form.frameCount;
    const bool undetected = form.lblResult.text == kVerdictUndetected;
    if (undetected) {
        ++form.undetectedCount;
    }
    form.lblUER.text = RateText(form.undetectedCount, form.frameCount);
    if (undetected && form.stopOnUndetected != kFalse) {
        form.Timer1.SetEnabled(false);
        form.Command4.caption = kCaptionStart;
    }
}

void CycleRun(Form& form) {
    form.stopOnUndetected = kFalse;
    if (form.Command4.caption == kCaptionStart) {
        form.Timer1.SetEnabled(false);
        form.Timer1.SetInterval(kSlowInterval);
        form.Timer1.SetEnabled(true);
        form.Command4.caption = kCaptionFast;
        RunTick(form);
    } else if (form.Command4.caption == kCaptionFast) {
        form.Timer1.SetEnabled(false);
        form.Timer1.SetInterval(kFastInterval);
        form.Timer1.SetEnabled(true);
        form.Command4.caption = kCaptionStop;
    } else {
        form.Timer1.SetEnabled(false);
        form.Timer1.SetInterval(kStoppedInterval);
        form.Command4.caption = kCaptionStart;
    }
}

void SendOne(Form& form) {
    form.Command4.caption = kCaptionStop;
    CycleRun(form);
    SendFrame(form);
}

void FindUndetected(Form& form) {
    form.Timer1.SetEnabled(false);
    form.Timer1.SetInterval(kFastInterval);
    form.Timer1.SetEnabled(true);
    form.Command4.caption = kCaptionStop;
    form.stopOnUndetected = kTrue;
}

} // namespace bitwatch
