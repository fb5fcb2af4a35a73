#include "transitions/teChrono.h"

#include <chrono>

namespace {

TTEChrono::TimeSource &timeSource()
{
    static TTEChrono::TimeSource source;
    return source;
}

}  // namespace

TTEChrono::TTEChrono() = default;

void TTEChrono::SetTimeSource(TimeSource source) { timeSource() = std::move(source); }

double TTEChrono::Now()
{
    if (const TimeSource &source = timeSource())
        return source();
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

void TTEChrono::Start()
{
    if (!m_isReset && !m_isPaused)
        return;
    m_startCount = Now();
    m_isReset = false;
    m_isPaused = false;
}

double TTEChrono::Elapsed() const
{
    if (m_isReset || m_isPaused)
        return m_accumulated;
    return m_accumulated + (Now() - m_startCount);
}

void TTEChrono::Pause()
{
    if (m_isReset || m_isPaused)
        return;
    m_accumulated = Elapsed();
    m_isPaused = true;
    m_startCount = 0;
}

void TTEChrono::Reset()
{
    Pause();
    m_accumulated = 0;
    m_isReset = true;
}
