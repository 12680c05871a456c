#include "pipeline/frame_pace.h"

namespace qv::pipeline {

void FramePace::Draw(Clock::time_point now) {
    if (inFrame_) return;
    if (timed_) {
        const Clock::duration alone = busy_ * (share_ ? teamSize_ : 1u);
        share_ = 2 * alone > now - start_;
    }
    start_ = now;
    inFrame_ = true;
}

void FramePace::Rest(Clock::time_point now) {
    if (!inFrame_) return;
    busy_ = now - start_;
    inFrame_ = false;
    timed_ = true;
}

}  // namespace qv::pipeline
