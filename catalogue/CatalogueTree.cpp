// CatalogueTree: to be implemented.
// HELPER NOTE (remove this line when you implement the file): first read /tmp/rules.md, the project rules and the way to work in this shared checkout (build dir, commits, time limit, report). They bind your task.
