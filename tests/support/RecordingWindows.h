#pragma once
// A window port that records what scene code asks of the windows, installed
// for the lifetime of the object.

#include "scene/WindowPort.h"

#include <QStringList>

#include <map>
#include <vector>

class RecordingWindows : public WindowPort {
public:
    struct Picture {
        QString key;
        bool isDefault = false;
        QSize size;
    };

    RecordingWindows() { SetWindows(this); }
    ~RecordingWindows() override { SetWindows(nullptr); }

    int MsgBox(const QString& prompt, int style, const QString& title) override
    {
        messages.append(prompt);
        styles.push_back(style);
        titles.append(title);
        return 1;
    }
    void ClearListPictures(EnvList list) override { pictures[list].clear(); }
    void AddListPicture(EnvList list, const QString& key, const QImage& picture) override
    {
        pictures[list].push_back({key, false, picture.size()});
    }
    void AddDefaultListPicture(EnvList list, const QString& key) override
    {
        pictures[list].push_back({key, true, QSize()});
    }
    void ClearListEntries(EnvList list) override { entries[list].clear(); }
    void AddListEntry(EnvList list, const ListEntry& entry) override { entries[list].push_back(entry); }
    void SetUsePricesCaption(const QString& text) override { usePricesCaption = text; }
    void SetUsePricesTicked(bool ticked) override { usePricesTicked = ticked ? 1 : 0; }

    QStringList messages;
    std::vector<int> styles;
    QStringList titles;
    std::map<EnvList, std::vector<Picture>> pictures;
    std::map<EnvList, std::vector<ListEntry>> entries;
    QString usePricesCaption;
    int usePricesTicked = -1;  // -1 never set
};
