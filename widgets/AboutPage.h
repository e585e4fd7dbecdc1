// AboutPage: the "Авторы..." tab with the program's name and its links.
#pragma once

class IShellOpen;
class QWidget;

/// Builds the About page; a click on one of its links opens the link's text through the shell.
QWidget *CreateAboutPage(IShellOpen &shell, QWidget *parent = nullptr);
