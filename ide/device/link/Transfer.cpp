#include "Transfer.h"

#include <QMetaObject>
#include <mutex>
#include <semaphore>

// What the transfer thread and the port's thread share. A hand-off in
// progress is kept so that destroying the task can release it; `alive` is
// only touched on the port's thread and drops calls queued for a task that
// is gone.
struct TMcuLoadTask::TShared {
    std::mutex lock;
    bool stopping = false;
    std::shared_ptr<std::binary_semaphore> pending;
    bool alive = true;
};

TMcuLoadTask::TMcuLoadTask(TMcuComPort &port, const QString &fileName)
    : m_port(port)
    , m_transfer(port, LoadProtocol::LoadRecords(fileName))
    , m_shared(std::make_shared<TShared>())
{
}

TMcuLoadTask::~TMcuLoadTask()
{
    m_shared->alive = false;
    {
        const std::lock_guard lock(m_shared->lock);
        m_shared->stopping = true;
        if (m_shared->pending)
            m_shared->pending->release();
    }
    m_transfer.Terminate();
    if (m_thread.joinable())
        m_thread.join();
}

void TMcuLoadTask::Start()
{
    if (m_running || m_thread.joinable())
        return;
    m_running = true;
    m_transfer.OnRecord = [this](int total, int index) { Synchronize(total, index); };
    m_thread = std::thread([this] { Execute(); });
}

void TMcuLoadTask::Terminate()
{
    m_transfer.Terminate();
}

void TMcuLoadTask::Execute()
{
    m_errorText = m_transfer.Run();
    Ended();
}

// The synchronised call: progress runs on the port's thread while the
// transfer thread waits for it to finish.
void TMcuLoadTask::Synchronize(int total, int index)
{
    auto done = std::make_shared<std::binary_semaphore>(0);
    {
        const std::lock_guard lock(m_shared->lock);
        if (m_shared->stopping)
            return;
        m_shared->pending = done;
        QMetaObject::invokeMethod(
            &m_port,
            [shared = m_shared, task = this, total, index, done] {
                // Taking the lock the call was posted under shows
                // ThreadSanitizer the hand-over it cannot see in Qt's queue.
                {
                    const std::lock_guard posted(shared->lock);
                }
                if (shared->alive)
                    task->DoProgress(total, index);
                done->release();
            },
            Qt::QueuedConnection);
    }
    done->acquire();
    const std::lock_guard lock(m_shared->lock);
    m_shared->pending.reset();
}

// The thread's last act: the end notification is queued to the port's
// thread, which joins the (then finished) thread before it reports the end,
// so the owner may delete the task from OnEnd.
void TMcuLoadTask::Ended()
{
    QMetaObject::invokeMethod(
        &m_port,
        [shared = m_shared, task = this] {
            if (!shared->alive)
                return;
            if (task->m_thread.joinable())
                task->m_thread.join();
            task->m_running = false;
            task->DoEnd();
        },
        Qt::QueuedConnection);
}

void TMcuLoadTask::DoProgress(int total, int index)
{
    if (OnProgress)
        OnProgress(this, total, index);
}

void TMcuLoadTask::DoEnd()
{
    if (OnEnd)
        OnEnd(this);
}
