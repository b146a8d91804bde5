// One panel per distribution folder: the first panel started in a folder
// claims it, and a later start there hands over to that panel instead of
// opening another (AutoPlay and a double click, or two double clicks).
#ifndef TANDREL_APP_FOLDER_CLAIM_H
#define TANDREL_APP_FOLDER_CLAIM_H

#include <windows.h>

class FolderClaim {
  public:
    FolderClaim() : mapping(nullptr) {}
    ~FolderClaim();
    FolderClaim(const FolderClaim&) = delete;
    FolderClaim& operator=(const FolderClaim&) = delete;

    // Claims the current directory for this process. Returns 0 when another
    // process holds it, after bringing that one's panel to the front; 1 when
    // this process may go on, also when the folder cannot be claimed at all.
    int Claim();
    // Names the window that later starts in the folder bring to the front.
    void Publish(HWND window);

  private:
    // A small shared block named after the folder; it holds the panel's window.
    HANDLE mapping;
};

#endif
