#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

class QDialog;

namespace veltaro::e2e {

struct ProbeOptions {
    int com = 0;  // 0: only the start-up figures
    int idleMs = 10000;
    int deadlineMs = 30000;  // whatever happens, the dialog closes by then
};
ProbeOptions ReadProbeOptions(const QStringList& arguments);

// Watches every event of the application for the main dialog's first paint, reports the
// figures on standard output as it goes, drives the dialog as a user would (COM number,
// Open) and closes it when done.
//
// Threads: the user-interface thread.
class Probe : public QObject {
    Q_OBJECT

  public:
    Probe(const ProbeOptions& options, double mainMs);

    bool eventFilter(QObject* watched, QEvent* event) override;
    bool Succeeded() const { return m_succeeded; }

  private:
    void OnShown();
    void OpenPort();
    void OnLogChanged();
    void StartIdle();
    void EndIdle();
    void Finish(bool succeeded);

    ProbeOptions m_options;
    QPointer<QDialog> m_dialog;
    bool m_shown = false;
    bool m_idleStarted = false;
    bool m_succeeded = false;
    double m_idleStartCpuMs = 0;
    double m_idleStartWallMs = 0;
};

}  // namespace veltaro::e2e
