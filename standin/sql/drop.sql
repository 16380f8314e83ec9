-- Removes the three tables of the allowance item editor, where they exist.
drop table if exists tbdyjtxmlb;
drop table if exists tbdyjtxmda;
drop table if exists tbdycxda;
