// OpenList: to be implemented.
