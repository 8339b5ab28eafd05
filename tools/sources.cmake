# The repair-tool and system-utility pages.
