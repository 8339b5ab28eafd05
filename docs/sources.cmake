# The user guide that comes with the program, in GBK with CR LF like any Windows text file.
kelvane_app_file(docs/readme.txt readme.txt GBK CRLF)
