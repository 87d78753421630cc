#include "engine/EventRecorder.h"

namespace corvane {

int CEventRecorder::InsertRow(int position, DWORD style, const wchar_t* text)
{
    CScopedLock lock(lock_);
    return rows_.Insert(position, style, text).index;
}

int CEventRecorder::UpdateRow(int position, DWORD style, const wchar_t* text)
{
    CScopedLock lock(lock_);
    return rows_.Update(position, style, text).index;
}

int CEventRecorder::RemoveRow(int position)
{
    CScopedLock lock(lock_);
    return rows_.Remove(position).index;
}

void CEventRecorder::Progress(int operation, int value, const wchar_t* text)
{
    CScopedLock lock(lock_);
    // As a progress bar takes them: a position is kept within the range.
    switch (operation)
    {
    case ProgressReset:
        position_ = 0;
        high_ = value;
        break;
    case ProgressSetPos:
        position_ = value;
        break;
    case ProgressStep:
        ++position_;
        break;
    default:
        break;
    }
    if (position_ > high_)
        position_ = high_;
    if (position_ < 0)
        position_ = 0;
    if (text)
        status_ = text;
}

void CEventRecorder::RunningChanged(bool running)
{
    CScopedLock lock(lock_);
    running_ = running;
}

std::vector<EventRowData> CEventRecorder::Rows() const
{
    CScopedLock lock(lock_);
    return rows_.Rows();
}

std::wstring CEventRecorder::Text() const
{
    CScopedLock lock(lock_);
    return EventRowsText(rows_.Rows());
}

std::wstring CEventRecorder::StatusText() const
{
    CScopedLock lock(lock_);
    return status_;
}

int CEventRecorder::ProgressPosition() const
{
    CScopedLock lock(lock_);
    return position_;
}

int CEventRecorder::ProgressHigh() const
{
    CScopedLock lock(lock_);
    return high_;
}

bool CEventRecorder::IsRunning() const
{
    CScopedLock lock(lock_);
    return running_;
}

} // namespace corvane
