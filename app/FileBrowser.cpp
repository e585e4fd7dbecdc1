// FileBrowser: drives, folders and files of the linked browser controls.
#include "FileBrowser.h"

TDriveComboBox::TDriveComboBox(QWidget *parent) : QComboBox(parent) {}
TDirectoryListBox::TDirectoryListBox(QWidget *parent) : QListWidget(parent) {}
TFileListBox::TFileListBox(QWidget *parent) : QListWidget(parent) {}
