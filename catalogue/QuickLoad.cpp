// QuickLoad: to be implemented.
