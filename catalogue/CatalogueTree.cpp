// CatalogueTree: to be implemented.
