// Temporary: replaced by the event store.
