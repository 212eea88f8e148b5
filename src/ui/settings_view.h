#pragma once

#include "services/stats_models.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class QStackedWidget;

namespace pw {
class Preferences;
class ThemeManager;
} // namespace pw

namespace pw::ui {

class FileReveal;
class SidebarButton;

// The dashboard's content: a sidebar of page buttons and the quit button
// beside a detail area with a header and the selected page.
class SettingsView : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString selectedSidebarItem READ selectedSidebarItem WRITE setSelectedSidebarItem
                   NOTIFY selectedSidebarItemChanged)
public:
    using RevealFile = std::function<void(const QString& filePath)>;

    SettingsView(ThemeManager& themeManager, Preferences& preferences, const StatsModels& models,
                 const QString& initialTab, QWidget* parent = nullptr);

    QString selectedSidebarItem() const { return m_selected; }
    // Any title is accepted; one that names no page leaves the page area empty.
    void setSelectedSidebarItem(const QString& title);

    QList<SidebarButton*> sidebarButtons() const { return m_buttons; }
    SidebarButton* quitButton() const { return m_quitButton; }
    QString headerTitle() const;
    // The page on show; the empty page for Cloud or an unknown title.
    QWidget* currentPage() const;

    // Exports the CPU history and, when a file was written, reveals it.
    void exportReport();
    // Replaces the file-manager reveal that follows a successful export.
    void setRevealFile(RevealFile reveal) { m_revealFile = std::move(reveal); }

Q_SIGNALS:
    void selectedSidebarItemChanged(const QString& title);

private:
    QWidget* buildSidebar();
    QWidget* buildDetail();
    QWidget* pageFor(const QString& title);
    void showSelection();

    ThemeManager& m_themeManager;
    Preferences& m_preferences;
    StatsModels m_models;
    QString m_selected;
    QList<SidebarButton*> m_buttons;
    SidebarButton* m_quitButton = nullptr;
    QLabel* m_header = nullptr;
    QStackedWidget* m_pages = nullptr;
    QWidget* m_emptyPage = nullptr;
    QHash<QString, QWidget*> m_builtPages;
    FileReveal* m_fileReveal = nullptr;
    RevealFile m_revealFile;
};

} // namespace pw::ui
