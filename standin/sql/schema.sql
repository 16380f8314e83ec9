-- The three tables of the allowance item editor. Portable SQL: SQLite and
-- PostgreSQL take it as it is.

-- Allowance items. The flags hold '1' when set, '0' when clear.
create table tbdyjtxmda (
  f_jtxmbm varchar(20) not null primary key,  -- item code
  f_jtxmmc varchar(60),                        -- item name
  f_lb     varchar(20),                        -- category
  f_jj     varchar(1),                         -- by piece count
  f_jc     varchar(1),                         -- by distance
  f_jcs    varchar(1),                         -- by number of trips
  f_js     varchar(1),                         -- by time
  f_ax     varchar(1),                         -- by route
  f_bc     varchar(1),                         -- combined vehicles
  f_srz    varchar(1),                         -- input value
  f_fz     varchar(1),                         -- split packing
  f_bz     varchar(1),                         -- remark
  f_fc     varchar(1)                          -- return trip
);

-- The parameters of one item for one vehicle type.
create table tbdyjtxmlb (
  f_jtxmbm varchar(20) not null,               -- item code
  f_cxbm   varchar(20) not null,               -- vehicle-type code
  f_jtqd   double precision not null default 0,  -- allowance starting point
  f_jsqd   double precision not null default 0,  -- piece count: starting point
  f_jsjc   double precision not null default 0,  -- piece count: step
  f_jjjtqd double precision not null default 0,  -- piece allowance: starting amount
  f_jjjtjc double precision not null default 0,  -- piece allowance: step amount
  f_lcqd   double precision not null default 0,  -- distance: starting point
  f_lcjc   double precision not null default 0,  -- distance: step
  f_jcjtqd double precision not null default 0,  -- distance allowance: starting amount
  f_jcjtjc double precision not null default 0,  -- distance allowance: step amount
  f_sjqd   double precision not null default 0,  -- time: starting point
  f_sjjc   double precision not null default 0,  -- time: step
  f_jsjtqd double precision not null default 0,  -- time allowance: starting amount
  f_jsjtjc double precision not null default 0,  -- time allowance: step amount
  f_xlqd   double precision not null default 0,  -- route: starting point
  f_xljc   double precision not null default 0,  -- route: step
  f_jxjtqd double precision not null default 0,  -- route allowance: starting amount
  f_jxjtjc double precision not null default 0,  -- route allowance: step amount
  f_mdqd   double precision not null default 0,  -- destination: starting point
  f_mdjc   double precision not null default 0,  -- destination: step
  f_bcjtqd double precision not null default 0,  -- combined-vehicle allowance: starting amount
  f_bcjtjc double precision not null default 0,  -- combined-vehicle allowance: step amount
  f_jcjt   double precision not null default 0,  -- per-trip allowance
  f_pcjt   double precision not null default 0,  -- per-batch allowance
  f_fkjt   double precision not null default 0,  -- branch-warehouse allowance
  f_psjt   double precision not null default 0,  -- delivery allowance
  f_ybjt   double precision not null default 0,  -- night-shift allowance
  f_tsjt   double precision not null default 0,  -- special allowance
  f_jtxe   double precision not null default 0,  -- allowance cap
  f_fhjt   double precision not null default 0,  -- re-check allowance
  primary key (f_jtxmbm, f_cxbm)
);

-- Vehicle types.
create table tbdycxda (
  f_cxbm varchar(20) not null primary key,     -- vehicle-type code
  f_cxmc varchar(40)                           -- vehicle-type name
);
