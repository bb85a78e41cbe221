// The captions of the two programs' windows, by which each finds the other's (InstallLock.h), and
// what either says when the other holds the install lock. Macros, since the programs' resource
// scripts take them too.
#pragma once

#define SETUP_INSTALLING_TITLE "正在安装..."
#define SETUP_COMPLETED_TITLE "安装完成!"
#define SETUP_WAITING_TITLE "正在等待其他安装程序结束..."
#define UNINSTALL_DIALOG_TITLE "Vennloft管理 V5.0  卸载"
#define UNINSTALL_CONFIRM_CAPTION "卸载软件"

#define INSTALLER_BUSY_TEXT "另一个安装或卸载程序正在运行，请等它结束后再运行本程序。"
